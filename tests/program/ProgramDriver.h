#pragma once

// The real Morvane.exe of the build, driven from outside as its user sees it: the dialog's states as texts (with
// any text its control cuts), a confirmed removal as its result box and log view, and a fixture with an installation.
#include "UiDriver.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

#include <windowsx.h>

#include <stdexcept>

inline const std::string kOffer =
    "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？|-|はい|いいえ"
    "|&About...|";
inline const std::string kNotInstalled =
    "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。|-|-(off)|閉じる"
    "|&About...|";
inline const Lines kInstalled = {"Data", "Data\\Keep.txt", "Draveth.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat"};

// The fonts of the program's windows, made here (a font handle serves only its process): the dialogs' from the real
// Morvane.exe's template, the result box's the system's message font.
inline INT_PTR CALLBACK NoHandler(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
inline HFONT DialogFont()
{
    static const HMODULE exe = LoadLibraryExA((BuildFolder() + "\\Morvane.exe").c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    static const HFONT font = GetWindowFont(CreateDialogA(exe, MAKEINTRESOURCEA(IDD_MAIN), nullptr, NoHandler));
    return font;
}
inline HFONT MessageFont()
{
    NONCLIENTMETRICSA system = {};
    system.cbSize = sizeof system;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0);
    static const HFONT font = CreateFontIndirectA(&system.lfMessageFont);
    return font;
}

// The texts of a window's shown statics and buttons that their controls cut (" text (needed in had)"), measured at
// the display's scale, which the program shares: on one line in a button or a static one line high, else wrapped.
// Edits are left out: the log's lines are wider than its box by design, and scrolled with the caret.
inline std::string CutTexts(HWND window, HFONT font)
{
    static const HDC screen = GetDC(nullptr);
    std::string cut;
    TEXTMETRICA metrics;
    SelectObject(screen, font);
    GetTextMetricsA(screen, &metrics);
    for (const ChildWindow& child : ChildWindows(window)) {
        const std::string text = WindowText(child.window);
        const bool button = child.className == "Button", icon = (child.style & SS_TYPEMASK) == SS_ICON;
        if (!child.visible || text.empty() || !(button || (child.className == "Static" && !icon)))
            continue;
        RECT has, needs;
        GetClientRect(child.window, &has);
        needs = {0, 0, has.right, 0};
        const UINT lines = button || has.bottom < 2 * metrics.tmHeight ? DT_SINGLELINE : DT_WORDBREAK;
        DrawTextA(screen, text.c_str(), -1, &needs, DT_CALCRECT | lines);
        if (needs.right > has.right || needs.bottom > has.bottom)
            cut += " " + text + " (" + std::to_string(needs.right) + "x" + std::to_string(needs.bottom) + " in " +
                   std::to_string(has.right) + "x" + std::to_string(has.bottom) + ")";
    }
    return cut;
}

// The main dialog's controls: text, "-" when hidden, "(off)" when disabled; then the texts cut.
inline std::string Seen(HWND dialog)
{
    std::string seen;
    for (int id : {IDC_PROMPT, IDC_LOG_LABEL, IDOK, IDCANCEL, ID_APP_ABOUT}) {
        seen += IsControlShown(dialog, id) ? ControlText(dialog, id) : "-";
        seen += IsWindowEnabled(GetDlgItem(dialog, id)) ? "|" : "(off)|";
    }
    return seen + CutTexts(dialog, DialogFont());
}

inline std::string Exit(ProgramRun& run) { return "exit " + std::to_string(static_cast<int>(run.WaitForExit(5000))); }

// Without the dialog (or result box) a test ends at once.
inline HWND Launch(ProgramRun& run)
{
    const bool started = run.Start(BuildFolder() + "\\Morvane.exe", "", "");
    const HWND dialog = started ? WaitForProcessDialog(run.ProcessId(), "USB Quarnel Uninstaller", 8000) : nullptr;
    return dialog ? dialog : throw std::runtime_error("no main dialog within 8 s");
}

// A removal that fails: the result box as seen (with any text cut), then the log view once shown with a new text
// (read through a message: answered only after the box).
inline std::string Confirm(const ProgramRun& run, HWND dialog)
{
    const std::string before = ControlText(dialog, IDC_LOG);
    PostCommand(dialog, IDOK);
    const HWND box = WaitForProcessDialog(run.ProcessId(), "Morvane", 10000);
    const std::string seen = box ? MessageBoxSeen(box) + CutTexts(box, MessageFont())
                                 : throw std::runtime_error("no result box within 10 s");
    PostCommand(box, IDOK);
    const DWORD start = GetTickCount();
    while (!IsControlShown(dialog, IDC_LOG) || ControlText(dialog, IDC_LOG) == before)
        GetTickCount() - start < 5000 ? Sleep(10) : throw std::runtime_error("no new log view within 5 s");
    return seen + "\n" + ControlText(dialog, IDC_LOG);
}

// A failure as the user reads it: the result box, then the log view's lines, from their short forms (LogLine).
inline std::string FailureSeen(const Lines& codes)
{
    std::string seen = "アンインストールできませんでした。 [OK]\n";
    for (const std::string& code : codes)
        seen += LogLine(code) + "\r\n";
    return seen;
}

// An installation of the product in a test folder, with its uninstall entry.
struct Program : testing::Test {
    Program()
    {
        for (const std::string& name : kInstalled)
            folder.Add(name + (name == "Data" ? "\\" : ""));
        WriteUninstallString("Setup.exe -f \"" + folder.PathOf("Uninst.log") + "\"");
    }
    ~Program() override { RemoveProductKey(); }
    TestFolder folder{"morvane-program"};
};
