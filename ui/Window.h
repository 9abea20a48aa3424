#pragma once

// A thin owner-less wrapper of a window handle.

#include <windows.h>

class CWindow {
public:
    HWND m_hWnd = nullptr;

    // Centres the window on hWndCenter, or when that is null on its parent (child windows) or its
    // owner. A top-level window whose owner is hidden or minimised is centred on its monitor's
    // work area instead; the result is kept inside the work area (the parent's client area for a
    // child). Size, z-order and activation stay as they are.
    BOOL CenterWindow(HWND hWndCenter = nullptr);
};
