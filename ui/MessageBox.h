#pragma once

// The message box whose text and caption are each a string or the id of a string resource.

#include <windows.h>

class CStringOrId {
public:
    CStringOrId(const char* text) : m_text(text) {}
    CStringOrId(UINT id) : m_text(MAKEINTRESOURCEA(id)) {}
    const char* m_text;
};

// A string-resource id is loaded from the resource instance, whatever its length; a caption of 0
// gives the system's default caption. The box's result, or 0 when a text could not be allocated.
int AtlMessageBox(HWND owner, CStringOrId text, CStringOrId caption = CStringOrId(0u), UINT type = MB_OK);
