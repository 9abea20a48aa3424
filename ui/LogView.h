#pragma once

// Filling the main dialog's log box with the lines of a removal run.

#include <windows.h>

class CUninstaller;

// Replaces the edit control's text with the log lines, one per text line, each ending in "\r\n".
// The edit's text limit is lifted first: a long log would otherwise be cut silently.
void FillLogView(HWND edit, const CUninstaller& uninstaller);
