// Morvane.exe driven from outside as a user would: its dialog found among the top-level windows,
// its controls read as code page 932 bytes, its buttons pressed; then the exit code, the files
// left in the install folder and the registry. A screenshot of each state goes to the build
// folder's screenshots/.

#include "Installation.h"
#include "UiDriver.h"

#include "engine/LogTexts.h"
#include "engine/Text.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kMainCaption[] = "USB Quarnel Uninstaller";
const char kQuestion[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？";
const char kNotInstalled[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。";
const char kLogLabel[] = "アンインストール時のログ：";

struct ControlState {
    int id;
    std::string text;
    bool shown;
};

void ExpectControls(HWND dialog, const std::vector<ControlState>& expected, const char* state)
{
    for (const ControlState& control : expected) {
        EXPECT_EQ(control.text, ControlText(dialog, control.id)) << state << ", control " << control.id;
        EXPECT_EQ(control.shown, IsControlShown(dialog, control.id)) << state << ", control " << control.id;
    }
}

void ExpectOfferState(HWND dialog)
{
    ExpectControls(dialog,
                   {{IDOK, "はい", true},
                    {IDCANCEL, "いいえ", true},
                    {ID_APP_ABOUT, "&About...", true},
                    {IDC_PROMPT, kQuestion, true},
                    {IDC_LOG_LABEL, kLogLabel, false},
                    {IDC_LOG, "", false}},
                   "offer");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
}

void ExpectNotInstalledState(HWND dialog)
{
    ExpectControls(dialog,
                   {{IDOK, "はい", false},
                    {IDCANCEL, "閉じる", true},
                    {ID_APP_ABOUT, "&About...", true},
                    {IDC_PROMPT, kNotInstalled, true},
                    {IDC_LOG_LABEL, kLogLabel, false},
                    {IDC_LOG, "", false}},
                   "not installed");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
}

void ExpectLogViewState(HWND dialog, const std::vector<std::string>& lines)
{
    std::string log;
    for (const std::string& line : lines)
        log += line + "\r\n";
    ExpectControls(dialog,
                   {{IDOK, "はい", false},
                    {IDCANCEL, "閉じる", true},
                    {ID_APP_ABOUT, "&About...", true},
                    {IDC_PROMPT, kQuestion, false},
                    {IDC_LOG_LABEL, kLogLabel, true},
                    {IDC_LOG, log, true}},
                   "log view");
}

// The result box: owned by the dialog, caption "Morvane", the text, an OK button only, no icon.
HWND ExpectResultBox(DWORD processId, HWND dialog, const char* text)
{
    const HWND box = WaitForProcessDialog(processId, "Morvane");
    if (box == nullptr) {
        ADD_FAILURE() << "no result box";
        return nullptr;
    }
    EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
    EXPECT_EQ(text, ControlText(box, 0xFFFF));
    std::vector<int> buttons;
    for (const ChildWindow& child : ChildWindows(box)) {
        if (!child.visible)
            continue;
        if (child.className == "Button")
            buttons.push_back(child.id);
        if (child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ICON) {
            EXPECT_EQ(0, SendMessageA(child.window, STM_GETICON, 0, 0)) << "the result box shows an icon";
        }
    }
    EXPECT_EQ(std::vector<int>{IDOK}, buttons);
    EXPECT_EQ("OK", ControlText(box, IDOK));
    return box;
}

class MorvaneProgram : public testing::Test {
protected:
    MorvaneProgram() : m_installation(testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    // Starts the program and waits for its dialog.
    HWND Launch(ProgramRun& run, const std::string& arguments = "", const std::string& currentDirectory = "")
    {
        EXPECT_TRUE(run.Start(BuildFolder() + "\\Morvane.exe", arguments, currentDirectory));
        const HWND dialog = WaitForProcessDialog(run.ProcessId(), kMainCaption);
        EXPECT_NE(nullptr, dialog);
        return dialog;
    }

    Installation m_installation;
};

const std::vector<std::string> kInstalledFiles = {"Draveth.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat", "設定ソ.ini"};

} // namespace

TEST_F(MorvaneProgram, OffersTheRemovalCentredAndEveryWayOfDecliningEndsWithTwo)
{
    m_installation.Install();
    ASSERT_EQ(kInstalledFiles, m_installation.Files());
    struct Case {
        const char* how;
        const char* arguments;
    };
    const Case cases[] = {{"button", ""}, {"escape", "/Uninstall -f \"C:\\\""}, {"close box", "x y z"}};
    for (const Case& c : cases) {
        ProgramRun run;
        const HWND dialog = Launch(run, c.arguments);
        ASSERT_NE(nullptr, dialog) << c.how;
        ExpectOfferState(dialog);

        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
        RECT rect;
        GetWindowRect(dialog, &rect);
        const RECT& work = monitor.rcWork;
        EXPECT_EQ((work.left + work.right) / 2 - (rect.right - rect.left) / 2, rect.left) << c.how;
        EXPECT_EQ((work.top + work.bottom) / 2 - (rect.bottom - rect.top) / 2, rect.top) << c.how;
        if (c.arguments[0] == '\0')
            Screenshot("offer", dialog);

        if (std::string(c.how) == "button")
            PostCommand(dialog, IDCANCEL);
        else if (std::string(c.how) == "escape")
            PostKey(dialog, VK_ESCAPE);
        else
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(2u, run.WaitForExit()) << c.how;
        EXPECT_EQ(kInstalledFiles, m_installation.Files()) << c.how;
        EXPECT_TRUE(ProductKeyExists()) << c.how;
    }
}

TEST_F(MorvaneProgram, NotInstalledStateRefusesTheConfirmCommandAndClosesWithTwo)
{
    // The product's files lie in the program's current directory: a removal without a located
    // folder would reach them.
    m_installation.Install();
    const std::string folder = m_installation.Path();
    const char* entries[] = {nullptr, "\"C:\\Quarnel\\Setup.exe\" /remove", "Setup.exe -F \"C:\\Quarnel\\Setup.exe\"",
                             "Setup.exe -f   "};
    for (const char* entry : entries) {
        RemoveProductKey();
        if (entry != nullptr)
            CreateProductKey(entry);
        const std::string name = entry != nullptr ? entry : "no entry";
        ProgramRun run;
        const HWND dialog = Launch(run, "", folder);
        ASSERT_NE(nullptr, dialog) << name;
        ExpectNotInstalledState(dialog);
        if (entry == nullptr)
            Screenshot("not-installed", dialog);

        PostCommand(dialog, IDOK);
        FocusControl(dialog, IDC_PROMPT);
        PostKey(dialog, VK_RETURN);
        EXPECT_EQ(nullptr, WaitForProcessDialog(run.ProcessId(), "Morvane", 1000)) << name;
        EXPECT_TRUE(run.IsRunning()) << name;
        ExpectNotInstalledState(dialog);

        PostCommand(dialog, IDCANCEL);
        EXPECT_EQ(2u, run.WaitForExit()) << name;
        EXPECT_EQ(kInstalledFiles, m_installation.Files()) << name;
    }
}

TEST_F(MorvaneProgram, SuccessfulRemovalShowsTheSuccessBoxAndEndsWithOne)
{
    m_installation.Install();
    // The configuration tool notes its start in the record file, then takes its time: meanwhile the
    // removal is running and the dialog can be looked at.
    const std::string record = m_installation.Path() + ".calls.txt";
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("MORVANE_STANDIN_LOG", record.c_str());
    SetEnvironmentVariableA("MORVANE_DRAVETH_MS", "2000");
    ProgramRun run;
    const HWND dialog = Launch(run);
    SetEnvironmentVariableA("MORVANE_STANDIN_LOG", nullptr);
    SetEnvironmentVariableA("MORVANE_DRAVETH_MS", nullptr);
    ASSERT_NE(nullptr, dialog);
    PaintNow(dialog);  // as the user saw it when pressing the button
    PostCommand(dialog, IDOK);

    // Running: the removal holds the dialog's thread; nothing was disabled or hidden for it.
    ASSERT_TRUE(WaitForFileText(record, "Draveth.exe"));
    EXPECT_EQ(nullptr, WaitForProcessDialog(run.ProcessId(), "Morvane", 0));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    Screenshot("running", nullptr);

    const HWND box = ExpectResultBox(run.ProcessId(), dialog, "正常にアンインストールされました。");
    ASSERT_NE(nullptr, box);
    ExpectOfferState(dialog);  // the dialog looks as before until the box is dismissed
    EXPECT_FALSE(IsWindowEnabled(dialog));
    Screenshot("success", box);
    PostCommand(box, IDOK);

    EXPECT_EQ(1u, run.WaitForExit());
    DeleteFileA(record.c_str());
    EXPECT_EQ(std::vector<std::string>{"Tamsel.dat"}, m_installation.Files());
    EXPECT_TRUE(m_installation.Exists("Data\\Keep.txt"));
    EXPECT_FALSE(ProductKeyExists());
}

TEST_F(MorvaneProgram, FailedRemovalShowsTheLogAndAFurtherConfirmShowsOnlyTheNewestRun)
{
    m_installation.Install();
    m_installation.MakeReadOnly("Notes.txt");
    ProgramRun run;
    const HWND dialog = Launch(run);
    ASSERT_NE(nullptr, dialog);
    PostCommand(dialog, IDOK);

    HWND box = ExpectResultBox(run.ProcessId(), dialog, "アンインストールできませんでした。");
    ASSERT_NE(nullptr, box);
    Screenshot("failure", box);
    PostCommand(box, IDOK);
    ASSERT_TRUE(WaitForWindowGone(box));
    ExpectLogViewState(dialog, {
                                   kLogInfoTipUnregistered,
                                   kLogToolUnregistered,
                                   FormatText(kLogFileDeletion, "Draveth.exe", kLogDeleted),
                                   FormatText(kLogFileDeletion, "Notes.txt", kLogFileNotDeleted),
                                   FormatText(kLogFileDeletion, "Pellox.dll", kLogDeleted),
                                   FormatText(kLogFileSkipped, "Tamsel.dat"),
                                   FormatText(kLogFileDeletion, "設定ソ.ini", kLogDeleted),
                                   FormatText(kLogEntryDeletion, kLogDeleted),
                               });
    Screenshot("log-view", dialog);

    // The confirm button is hidden, but a command that still arrives runs the removal again.
    PostCommand(dialog, IDOK);
    box = ExpectResultBox(run.ProcessId(), dialog, "アンインストールできませんでした。");
    ASSERT_NE(nullptr, box);
    PostCommand(box, IDOK);
    ASSERT_TRUE(WaitForWindowGone(box));
    ExpectLogViewState(dialog, {
                                   FormatText(kLogFileMissing, "Pellox.dll"),
                                   FormatText(kLogFileMissing, "Draveth.exe"),
                                   FormatText(kLogFileDeletion, "Notes.txt", kLogFileNotDeleted),
                                   FormatText(kLogFileSkipped, "Tamsel.dat"),
                                   FormatText(kLogEntryDeletion, kLogEntryNotDeleted),
                               });

    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(2u, run.WaitForExit());
    EXPECT_EQ((std::vector<std::string>{"Notes.txt", "Tamsel.dat"}), m_installation.Files());
    EXPECT_TRUE(m_installation.Exists("Data\\Keep.txt"));
    EXPECT_FALSE(ProductKeyExists());
}

// Its position, icon and text are checked in-process (ui_framework_tests), with the same resources.
TEST_F(MorvaneProgram, AboutBoxOpensOverTheDialogAndLeavesItsStateAlone)
{
    m_installation.Install();
    ProgramRun run;
    const HWND dialog = Launch(run);
    ASSERT_NE(nullptr, dialog);
    RECT before;
    GetWindowRect(dialog, &before);

    const UINT closeKeys[] = {VK_ESCAPE, VK_RETURN};
    for (UINT key : closeKeys) {
        PostCommand(dialog, ID_APP_ABOUT);
        const HWND about = WaitForProcessDialog(run.ProcessId(), "About");
        ASSERT_NE(nullptr, about);
        EXPECT_EQ(dialog, GetWindow(about, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(dialog));
        if (key == VK_ESCAPE)
            Screenshot("about", about);

        PostKey(about, key);
        ASSERT_TRUE(WaitForWindowGone(about));
        EXPECT_TRUE(IsWindowEnabled(dialog));
        ExpectOfferState(dialog);
        RECT after;
        GetWindowRect(dialog, &after);
        EXPECT_TRUE(EqualRect(&before, &after));
    }

    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(2u, run.WaitForExit());
    EXPECT_EQ(kInstalledFiles, m_installation.Files());
    EXPECT_TRUE(ProductKeyExists());
}

// A copy of the program whose main dialog names a window class that does not exist cannot create
// its dialog: it ends with -1 at once, shows nothing and touches nothing.
TEST_F(MorvaneProgram, DialogThatCannotBeCreatedEndsWithMinusOne)
{
    m_installation.Install();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "MorvaneWithoutDialog.exe";
    ASSERT_TRUE(CopyFileA((BuildFolder() + "\\Morvane.exe").c_str(), copy.c_str(), FALSE));

    // A plain template: no controls, no menu, the class "NoSuchClass", no caption.
    struct {
        DLGTEMPLATE header;
        WORD menu;
        WCHAR className[12];
        WORD caption;
    } broken = {{WS_POPUP, 0, 0, 0, 0, 100, 50}, 0, L"NoSuchClass", 0};
    const HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), &broken, sizeof broken));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    ProgramRun run;
    ASSERT_TRUE(run.Start(copy, "", ""));
    EXPECT_EQ(static_cast<DWORD>(-1), run.WaitForExit());
    EXPECT_EQ(nullptr, WaitForProcessDialog(run.ProcessId(), kMainCaption, 0));
    EXPECT_EQ(kInstalledFiles, m_installation.Files());
    EXPECT_TRUE(ProductKeyExists());
    DeleteFileA(copy.c_str());
}
