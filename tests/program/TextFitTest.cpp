#include "tests/program/ProgramDriver.h"

#include <windowsx.h>

static INT_PTR CALLBACK NoHandler(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The texts of a window's shown statics and buttons (no edits: the log's lines are wider than its box by design) that
// their controls, their window or the display cut: on one line in a button or a static one line high, else wrapped.
static std::string CutTexts(HDC screen, HWND window, HFONT font)
{
    std::string cut = window ? "" : " no window";
    TEXTMETRICA metrics;
    SelectObject(screen, font);
    GetTextMetricsA(screen, &metrics);
    const RECT display = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT area = {};  // the window's client area as far as it is on the display
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    IntersectRect(&area, &area, &display);
    for (const ChildWindow& child : window ? ChildWindows(window) : std::vector<ChildWindow>()) {
        const std::string text = WindowText(child.window);
        const bool button = child.className == "Button", icon = (child.style & SS_TYPEMASK) == SS_ICON;
        if (!child.visible || text.empty() || !(button || (child.className == "Static" && !icon)))
            continue;
        RECT has, shown, needs, onDisplay;
        GetClientRect(child.window, &has);
        GetWindowRect(child.window, &shown);
        const bool whole = IntersectRect(&onDisplay, &shown, &area) && EqualRect(&onDisplay, &shown);
        needs = {0, 0, has.right, 0};
        const bool oneLine = button || has.bottom < 2 * metrics.tmHeight;
        DrawTextA(screen, text.c_str(), -1, &needs, DT_CALCRECT | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
        if (needs.right > has.right || needs.bottom > has.bottom || !whole)
            cut += " #" + std::to_string(GetDlgCtrlID(child.window)) + " " + text + ": " + std::to_string(needs.right) +
                   "x" + std::to_string(needs.bottom) + " in " + std::to_string(has.right) + "x" +
                   std::to_string(has.bottom) + (whole ? "" : " outside its window");
    }
    return cut;
}

// Every text whole at the run's scale (MORVANE_DPI) in a removal that fails on a read-only file (the question, the
// About box, the result box, the log view), then in the notice.
TEST_F(Program, TextFitEveryStaticButtonAndResultBoxTextWholeInEveryState)
{
    const HDC screen = GetDC(nullptr);  // measures at this process's scale, which the program shares
    std::string dpi = std::to_string(GetDeviceCaps(screen, LOGPIXELSY)), seen = dpi + " dpi:";
    NONCLIENTMETRICSA system = {};
    system.cbSize = sizeof system;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0);
    const HFONT boxFont = CreateFontIndirectA(&system.lfMessageFont);  // a message box's text font
    // Font handles serve only their process: the real Morvane.exe's dialog is made here, hidden, for its font.
    const HMODULE exe = LoadLibraryExA((BuildFolder() + "\\Morvane.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HFONT font = GetWindowFont(CreateDialogA(exe, MAKEINTRESOURCEA(IDD_MAIN), nullptr, NoHandler));
    folder.Add("Locked.txt", FILE_ATTRIBUTE_READONLY);
    ProgramRun run, again;
    const HWND dialog = Launch(run);
    seen += " question:" + CutTexts(screen, dialog, font);
    PostCommand(dialog, ID_APP_ABOUT);
    const HWND about = WaitForProcessDialog(run.ProcessId(), "About", 5000);
    seen += " About:" + CutTexts(screen, about, font);
    PostCommand(about, IDOK);
    WaitForWindowGone(about, 5000);
    Confirm(run, dialog, [&](HWND box) { seen += " result box:" + CutTexts(screen, box, boxFont); });
    seen += " log view:" + CutTexts(screen, dialog, font);
    Screenshot("text-fit-" + dpi + "dpi-log-view", dialog);
    PostCommand(dialog, IDCANCEL);
    seen += " notice:" + CutTexts(screen, Launch(again), font);  // the removal took the key: not installed
    EXPECT_EQ(seen, std::string(std::getenv("MORVANE_DPI")) + " dpi: question: About: result box: log view: notice:");
}
