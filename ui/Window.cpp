#include "ui/Window.h"

BOOL CWindow::CenterWindow()
{
    // The owner counts only while it can be seen; otherwise the monitor's work area is the centre.
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr) {
        const LONG ownerStyle = GetWindowLongA(owner, GWL_STYLE);
        if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE))
            owner = nullptr;
    }
    const HMONITOR monitor = MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr)
        return FALSE;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(monitor, &info))
        return FALSE;
    const RECT& area = info.rcWork;
    RECT center = area;
    if (owner != nullptr)
        GetWindowRect(owner, &center);

    RECT window;
    GetWindowRect(m_hWnd, &window);
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
