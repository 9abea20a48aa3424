#pragma once

// Paths as plain text: a file name cut off, an element joined on; and text from the Windows calls
// that measure it.

#include <windows.h>

#include <functional>
#include <string>

// Removes the last element and the backslash before it, keeping a root's own backslash (the shell's
// PathRemoveFileSpecA, applied in place). True when an element was removed.
bool RemoveFileSpec(std::string& path);

// Joins the element to the path with exactly one backslash, as plain text: nothing is canonicalized,
// so an element such as "..x" stays a name of the folder. False, with the path unchanged, when the
// path is empty or the joined path would not fit in MAX_PATH.
bool AppendPath(std::string& path, const char* element);

// Text from a Windows call that, given no buffer, reports the size it needs (with the zero, or
// without it as Wine's GetFinalPathNameByHandleA does); false when the call fails or the text does
// not fit.
bool GetMeasuredText(const std::function<DWORD(char* buffer, DWORD size)>& call, std::string& text);
