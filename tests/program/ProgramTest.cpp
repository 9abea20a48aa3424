// The real Morvane.exe driven as a user would, state by state; screenshots of each state go to
// BUILD\screenshots for the README.

#include "tests/program/Program.h"

namespace {

const std::string kOffer = std::string(kQuestion) + "|-|はい|いいえ|&About...|";
const Lines kInstalled = {"Data", "Data\\Keep.txt", "Draveth.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat"};

class Program : public testing::Test {
protected:
    Program() : folder("morvane-program")
    {
        for (const char* name : {"Pellox.dll", "Draveth.exe", "Notes.txt", "Tamsel.dat", "Data\\", "Data\\Keep.txt"})
            folder.Add(name);
        WriteUninstallString("\"C:\\Quarnel\\Setup.exe\" -f \"" + folder.PathOf("Uninst.log") + "\"");
    }
    ~Program() override { RemoveProductKey(); }
    TestFolder folder;
};

TEST_F(Program, OffersTheRemovalCentredAndEveryWayOfDecliningEndsWithTwo)
{
    for (const char* how : {"いいえ", "Escape", "close box"}) {
        ProgramRun run;
        const HWND dialog = Launch(run);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Seen(dialog), kOffer);
        RECT window, work;
        GetWindowRect(dialog, &window);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR(window.left + window.right, work.left + work.right, 1) << "centred across";
        EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 1) << "centred down";
        if (how[0] == 'E')
            PostKey(dialog, VK_ESCAPE);
        else if (how[0] == 'c')
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            Screenshot("offer", dialog), PostCommand(dialog, IDCANCEL);
        EXPECT_EQ(run.WaitForExit(5000), 2u) << how << ": exit within 5 s";
        EXPECT_EQ(folder.Names(), kInstalled) << how;
        EXPECT_TRUE(ProductKeyExists()) << how;
    }
}

TEST_F(Program, NotInstalledRefusesTheConfirmCommandAndTheEnterKey)
{
    RemoveProductKey();
    ProgramRun run;
    const HWND dialog = Launch(run, folder.Path());
    ASSERT_NE(dialog, nullptr);
    const std::string notInstalled = std::string(kNotInstalled) + "|-|-(off)|閉じる|&About...|";
    EXPECT_EQ(Seen(dialog), notInstalled);
    Screenshot("not-installed", dialog);
    PostCommand(dialog, IDOK);
    FocusControl(dialog, IDC_PROMPT);
    PostKey(dialog, VK_RETURN);
    EXPECT_EQ(WaitForProcessDialog(run.ProcessId(), "Morvane", 1500), nullptr) << "a result box";
    EXPECT_EQ(Seen(dialog), notInstalled);
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(run.WaitForExit(5000), 2u) << "exit within 5 s";
    EXPECT_EQ(folder.Names(), kInstalled);
}

TEST_F(Program, SuccessRemovesThePlainFilesAndTheKeyAndEndsWithOne)
{
    const StandInRecord record;
    ProgramRun run;
    const HWND dialog = Launch(run);
    ASSERT_NE(dialog, nullptr);
    PostCommand(dialog, IDOK);
    EXPECT_EQ(ResultBox(run, "success"), std::string(kRemoved) + " [OK]");
    EXPECT_EQ(run.WaitForExit(5000), 1u) << "exit within 5 s";
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Tamsel.dat"}));
    EXPECT_FALSE(ProductKeyExists());
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(record.Calls(), (Lines{"Pellox.dll\t" + std::string(system) + "\\rundll32.exe \"" +
                                         folder.PathOf("Pellox.dll") + "\",DllUnregisterServer\t1",
                                     "Draveth.exe\t/Uninstall\t1"}));
}

// The log is longer than an edit control takes by default (30,000 characters).
TEST_F(Program, FailureShowsTheWholeLogAndAFurtherConfirmShowsOnlyTheNewRun)
{
    Lines names;
    for (int i = 100; i < 260; ++i)
        names.push_back("L" + std::to_string(i) + std::string(196, 'x'));
    for (const std::string& name : names)
        folder.Add(name);
    SetFileAttributesA(folder.PathOf("Notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", "3");
    ProgramRun run;
    const HWND dialog = Launch(run);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", nullptr);
    ASSERT_NE(dialog, nullptr);
    PostCommand(dialog, IDOK);
    EXPECT_EQ(ResultBox(run, "failure"), std::string(kNotRemoved) + " [OK]");
    std::string log = "InfoTipの登録が解除されました。\r\nDravethの登録が解除されませんでした。\r\n"
                      "ファイル'Draveth.exe'は削除されました。\r\n";
    for (const std::string& name : names)
        log += "ファイル'" + name + "'は削除されました。\r\n";
    log += "ファイル'Notes.txt'は削除きでませんでした。\r\nファイル'Pellox.dll'は削除されました。\r\n"
           "ファイル'Tamsel.dat'の削除はスキップされました。\r\nアンインストール情報レジストリエントリは削除されました。\r\n";
    ASSERT_GT(log.size(), 34000u);
    EXPECT_EQ(LogView(dialog), log);
    EXPECT_EQ(Seen(dialog), "-|アンインストール時のログ：|-|閉じる|&About...|");
    Screenshot("log-view", dialog);

    PostCommand(dialog, IDOK);
    EXPECT_EQ(ResultBox(run), std::string(kNotRemoved) + " [OK]");
    EXPECT_EQ(LogView(dialog), "ファイル'Pellox.dll'は存在しません。\r\nファイル'Draveth.exe'は存在しません。\r\n"
                               "ファイル'Notes.txt'は削除きでませんでした。\r\nファイル'Tamsel.dat'の削除はスキップされました。\r\n"
                               "アンインストール情報レジストリエントリは削除できませんでした。\r\n");
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(run.WaitForExit(5000), 2u) << "exit within 5 s";
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Notes.txt", "Tamsel.dat"}));
    EXPECT_FALSE(ProductKeyExists());
}

TEST_F(Program, AboutBoxOpensOverTheDialogAndLeavesItsStateAlone)
{
    ProgramRun run;
    const HWND dialog = Launch(run);
    ASSERT_NE(dialog, nullptr);
    for (const char* how : {"OK", "Escape"}) {
        PostCommand(dialog, ID_APP_ABOUT);
        const HWND about = WaitForProcessDialog(run.ProcessId(), "About", 5000);
        ASSERT_NE(about, nullptr) << "the About box within 5 s";
        EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
        std::string text;
        for (const ChildWindow& child : ChildWindows(about))
            text += child.className == "Static" ? WindowText(child.window) : "";
        EXPECT_EQ(text.substr(0, text.find('\n')), "Morvane Application v1.0");
        if (how[0] == 'O')
            Screenshot("about", about), PostCommand(about, IDOK);
        else
            PostKey(about, VK_ESCAPE);
        EXPECT_TRUE(WaitForWindowGone(about, 5000)) << how << ": the About box gone within 5 s";
        EXPECT_EQ(Seen(dialog), kOffer) << how;
    }
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(run.WaitForExit(5000), 2u) << "exit within 5 s";
    EXPECT_EQ(folder.Names(), kInstalled);
}

// A copy whose main dialog names a window class that does not exist.
TEST_F(Program, DialogThatCannotBeCreatedEndsWithMinusOneAndTouchesNothing)
{
    const TestFolder copy("morvane-broken");
    ASSERT_TRUE(CopyFileA(BuildPath("Morvane.exe").c_str(), copy.PathOf("Morvane.exe").c_str(), FALSE));
    struct {
        DLGTEMPLATE header;
        WORD menu;
        WCHAR className[12];
        WORD caption;
    } broken = {{WS_POPUP, 0, 0, 0, 0, 100, 50}, 0, L"NoSuchClass", 0};
    const HANDLE update = BeginUpdateResourceA(copy.PathOf("Morvane.exe").c_str(), FALSE);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), &broken, sizeof broken));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    ProgramRun run;
    ASSERT_TRUE(run.Start(copy.PathOf("Morvane.exe"), "", folder.Path()));
    EXPECT_EQ(run.WaitForExit(5000), static_cast<DWORD>(-1)) << "exit within 5 s";
    EXPECT_EQ(folder.Names(), kInstalled);
    EXPECT_TRUE(ProductKeyExists());
}

} // namespace
