#include "ui/Window.h"

BOOL CWindow::CenterWindow(HWND hWndCenter)
{
    const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
    const bool child = (style & WS_CHILD) != 0;
    if (hWndCenter == nullptr)
        hWndCenter = child ? GetParent(m_hWnd) : GetWindow(m_hWnd, GW_OWNER);

    RECT window;
    GetWindowRect(m_hWnd, &window);

    RECT area;
    RECT center;
    if (!child) {
        if (hWndCenter != nullptr) {
            const LONG centerStyle = GetWindowLongA(hWndCenter, GWL_STYLE);
            if (!(centerStyle & WS_VISIBLE) || (centerStyle & WS_MINIMIZE))
                hWndCenter = nullptr;
        }
        const HMONITOR monitor = MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
        if (monitor == nullptr)
            return FALSE;
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoA(monitor, &info))
            return FALSE;
        area = info.rcWork;
        if (hWndCenter == nullptr)
            center = area;
        else
            GetWindowRect(hWndCenter, &center);
    } else {
        // A child moves in its parent's client coordinates.
        const HWND parent = GetParent(m_hWnd);
        GetClientRect(parent, &area);
        GetClientRect(hWndCenter, &center);
        MapWindowPoints(hWndCenter, parent, reinterpret_cast<POINT*>(&center), 2);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    }

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = (center.left + center.right) / 2 - width / 2;
    int top = (center.top + center.bottom) / 2 - height / 2;
    if (left + width > area.right)
        left = area.right - width;
    if (left < area.left)
        left = area.left;
    if (top + height > area.bottom)
        top = area.bottom - height;
    if (top < area.top)
        top = area.top;
    return SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
