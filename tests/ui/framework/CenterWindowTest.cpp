// CWindow::CenterWindow on real windows: over the owner, or on the work area when the owner is
// missing, hidden or minimised; kept inside the work area; halves truncated.

#include "ui/Window.h"

#include <gtest/gtest.h>

namespace {

HWND MakePopup(const RECT& rect, DWORD style, HWND owner)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
}

RECT WorkArea()
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

} // namespace

TEST(CenterWindow, PlacesTopLevelWindowsOverTheOwnerOrTheWorkArea)
{
    const RECT work = WorkArea();
    const int workLeft = (work.left + work.right) / 2;
    const int workTop = (work.top + work.bottom) / 2;
    struct Case {
        const char* name;
        bool hasOwner;
        RECT owner;
        DWORD ownerStyle;
        SIZE size;
        POINT expected;
    };
    const Case cases[] = {
        {"visible owner", true, {100, 100, 500, 400}, WS_VISIBLE, {200, 100}, {200, 200}},
        // (101 + 402) / 2 - 201 / 2 = 251 - 100; (101 + 302) / 2 - 101 / 2 = 201 - 50
        {"odd sizes truncate", true, {101, 101, 402, 302}, WS_VISIBLE, {201, 101}, {151, 151}},
        {"hidden owner", true, {100, 100, 500, 400}, 0, {200, 100}, {workLeft - 100, workTop - 50}},
        {"minimised owner", true, {100, 100, 500, 400}, WS_VISIBLE | WS_MINIMIZE, {200, 100},
         {workLeft - 100, workTop - 50}},
        {"no owner", false, {}, 0, {300, 150}, {workLeft - 150, workTop - 75}},
        {"owner past the bottom right", true, {work.right - 50, work.bottom - 40, work.right + 150, work.bottom + 60},
         WS_VISIBLE, {200, 100}, {work.right - 200, work.bottom - 100}},
        {"owner past the top left", true, {work.left - 150, work.top - 60, work.left + 50, work.top + 40},
         WS_VISIBLE, {200, 100}, {work.left, work.top}},
        {"wider than the work area", true, {100, 100, 500, 400}, WS_VISIBLE,
         {work.right - work.left + 40, 100}, {work.left, 200}},
    };
    for (const Case& c : cases) {
        const HWND owner = c.hasOwner ? MakePopup(c.owner, c.ownerStyle, nullptr) : nullptr;
        CWindow window;
        window.m_hWnd = MakePopup({7, 9, 7 + c.size.cx, 9 + c.size.cy}, 0, owner);
        EXPECT_TRUE(window.CenterWindow()) << c.name;
        RECT rect;
        GetWindowRect(window.m_hWnd, &rect);
        EXPECT_EQ(c.expected.x, rect.left) << c.name;
        EXPECT_EQ(c.expected.y, rect.top) << c.name;
        EXPECT_EQ(c.size.cx, rect.right - rect.left) << c.name;
        EXPECT_EQ(c.size.cy, rect.bottom - rect.top) << c.name;
        DestroyWindow(window.m_hWnd);
        if (owner != nullptr)
            DestroyWindow(owner);
    }
}
