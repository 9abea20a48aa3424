#pragma once

// A thin owner-less wrapper of a window handle.

#include <windows.h>

class CWindow {
public:
    HWND m_hWnd = nullptr;

    // Centres the top-level window over its owner, or on its monitor's work area when it has no
    // owner or the owner is hidden or minimised; the result is kept inside the work area. Size,
    // z-order and activation stay as they are.
    BOOL CenterWindow();
};
