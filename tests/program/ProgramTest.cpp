// The real Morvane.exe, driven from outside as its user sees it: its states as texts, a failed removal, declining.
#include "UiDriver.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

#include <windowsx.h>

#include <stdexcept>

namespace {

const std::string kProduct = "USB Quarnel2ソフトウェア(Ver2.x.x.x)";
const std::string kOffer = kProduct + "をアンインストールしますか？|-|はい|いいえ|&About...|";
const std::string kNotice = kProduct + "はインストールされていません。|-|-(off)|閉じる|&About...|";

// The dialogs' font, made here from the real Morvane.exe's template (a font handle serves only its process).
INT_PTR CALLBACK NoHandler(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
HFONT DialogFont()
{
    static const HMODULE exe = LoadLibraryExA((BuildFolder() + "\\Morvane.exe").c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    static const HFONT font = GetWindowFont(CreateDialogA(exe, MAKEINTRESOURCEA(IDD_MAIN), nullptr, NoHandler));
    return font;
}

// The texts of a dialog's shown statics and buttons that their controls cut, at the display's scale (the program's):
// on one line in a button or a static one line high, else wrapped. Not edits: the log's lines are wider by design.
std::string CutTexts(HWND window)
{
    static const HDC screen = GetDC(nullptr);
    std::string cut;
    TEXTMETRICA metrics;
    SelectObject(screen, DialogFont());
    GetTextMetricsA(screen, &metrics);
    for (const ChildWindow& child : ChildWindows(window)) {
        const std::string text = WindowText(child.window);
        const bool button = child.className == "Button", icon = (child.style & SS_TYPEMASK) == SS_ICON;
        RECT has, needs = {};
        if (!child.visible || text.empty() || !(button || (child.className == "Static" && !icon)) ||
            !GetClientRect(child.window, &has))
            continue;
        needs.right = has.right;
        const UINT lines = button || has.bottom < 2 * metrics.tmHeight ? DT_SINGLELINE : DT_WORDBREAK;
        DrawTextA(screen, text.c_str(), -1, &needs, DT_CALCRECT | lines);
        if (needs.right > has.right || needs.bottom > has.bottom)
            cut += " " + text + " (" + std::to_string(needs.right) + "x" + std::to_string(needs.bottom) + " px)";
    }
    return cut;
}

// The main dialog's controls: text, "-" when hidden, "(off)" when disabled; then the texts cut.
std::string Seen(HWND dialog)
{
    std::string seen;
    for (int id : {IDC_PROMPT, IDC_LOG_LABEL, IDOK, IDCANCEL, ID_APP_ABOUT}) {
        seen += IsControlShown(dialog, id) ? ControlText(dialog, id) : "-";
        seen += IsWindowEnabled(GetDlgItem(dialog, id)) ? "|" : "(off)|";
    }
    return seen + CutTexts(dialog);
}

HWND Launch(ProgramRun& run)
{
    const bool started = run.Start(BuildFolder() + "\\Morvane.exe", "", "");
    const HWND dialog = started ? WaitForProcessDialog(run.ProcessId(), "USB Quarnel Uninstaller", 8000) : nullptr;
    return dialog ? dialog : throw std::runtime_error("no main dialog within 8 s");
}

// A failed removal as the user reads it: the result box, then the log view once it shows a new text.
std::string Confirm(const ProgramRun& run, HWND dialog)
{
    const std::string old = ControlText(dialog, IDC_LOG);
    PostCommand(dialog, IDOK);
    const HWND box = WaitForProcessDialog(run.ProcessId(), "Morvane", 10000);
    const std::string seen = box ? MessageBoxSeen(box) : throw std::runtime_error("no result box within 10 s");
    PostCommand(box, IDOK);
    for (const DWORD start = GetTickCount(); !IsControlShown(dialog, IDC_LOG) || ControlText(dialog, IDC_LOG) == old;)
        GetTickCount() - start < 5000 ? Sleep(10) : throw std::runtime_error("no new log view within 5 s");
    return seen + "\n" + ControlText(dialog, IDC_LOG);
}
std::string FailureSeen(const Lines& codes)  // from the log's short forms (LogLine)
{
    std::string seen = "アンインストールできませんでした。 [OK]\n";
    for (const std::string& code : codes)
        seen += LogLine(code) + "\r\n";
    return seen;
}

struct Program : testing::Test {
    Program()
    {
        for (const char* name : {"Data\\", "Data\\Keep.txt", "Draveth.exe", "!Notes.txt", "Pellox.dll", "Tamsel.dat"})
            folder.Add(name);
        installed = folder.Names();
        WriteUninstallString("Setup.exe -f \"" + folder.PathOf("Uninst.log") + "\"");
    }
    TestFolder folder{"morvane-program"};
    Lines installed;
};

} // namespace

TEST_F(Program, OffersCentredShowsTheAboutBoxAndEveryWayOfDecliningEndsWithTwo)
{
    const std::pair<UINT, WPARAM> ways[] = {{WM_COMMAND, IDCANCEL}, {WM_KEYDOWN, VK_ESCAPE}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& [message, key] : ways) {
        ProgramRun run;
        const HWND dialog = Launch(run);
        EXPECT_EQ(Seen(dialog), kOffer);
        RECT shown, work;
        EXPECT_TRUE(GetWindowRect(dialog, &shown) && SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_LE(abs(shown.left + shown.right - work.left - work.right) +
                      abs(shown.top + shown.bottom - work.top - work.bottom), 2);
        PostCommand(dialog, ID_APP_ABOUT);
        const HWND about = WaitForProcessDialog(run.ProcessId(), "About", 5000);
        EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
        EXPECT_EQ(CutTexts(about), "");
        message == WM_KEYDOWN ? (void)PostMessageA(about, message, key, 1) : PostCommand(about, IDOK);
        EXPECT_TRUE(WaitForWindowGone(about, 5000)) << "the About box gone within 5 s";
        PostMessageA(dialog, message, key, message == WM_KEYDOWN);
        EXPECT_EQ(run.WaitForExit(5000), 2u);
        EXPECT_EQ(folder.Names(), installed);
        EXPECT_TRUE(ProductKeyExists());
    }
}

TEST_F(Program, FailureShowsAWholeLogPastTheEditControlsDefault30000CharactersAndThenOnlyTheNewRun)
{
    Lines log = {"InfoTip+", "Draveth-", "+Draveth.exe"};
    for (int i = 100; i < 260; ++i) {
        folder.Add("L" + std::to_string(i) + std::string(196, 'x'));
        log.push_back("+L" + std::to_string(i) + std::string(196, 'x'));
    }
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", "3");
    ProgramRun run;
    const HWND dialog = Launch(run);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", nullptr);
    EXPECT_EQ(Confirm(run, dialog), FailureSeen(log + Lines{"-Notes.txt", "+Pellox.dll", "=Tamsel.dat", "Entry+"}));
    EXPECT_EQ(Seen(dialog), "-|アンインストール時のログ：|-|閉じる|&About...|");
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);  // the program's scale, and the display's
    EXPECT_EQ(dpi, std::atoi(std::getenv("MORVANE_DPI") ? std::getenv("MORVANE_DPI") : "96"));
    Screenshot("log-view-" + std::to_string(dpi) + "dpi", dialog);
    const std::string shown = ControlText(dialog, IDC_LOG);
    SendMessageA(GetDlgItem(dialog, IDC_LOG), WM_CHAR, 'x', 1);  // typed into the log view, which is read-only
    EXPECT_EQ(ControlText(dialog, IDC_LOG), shown);
    EXPECT_EQ(Confirm(run, dialog),
              FailureSeen({"?Pellox.dll", "?Draveth.exe", "-Notes.txt", "=Tamsel.dat", "Entry-"}));
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(run.WaitForExit(5000), 2u);
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Notes.txt", "Tamsel.dat"}));
    ProgramRun again;  // the entry is gone: not installed, and neither a posted confirm nor the Enter key removes
    const HWND notice = Launch(again);
    EXPECT_EQ(Seen(notice), kNotice);
    PostCommand(notice, IDOK);
    SendMessageA(notice, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(notice, IDC_PROMPT)), TRUE);
    PostMessageA(notice, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(WaitForProcessDialog(again.ProcessId(), "Morvane", 1500) ? "a result box" : Seen(notice), kNotice);
}
