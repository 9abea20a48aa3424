#include "tests/program/ProgramDriver.h"
#include "ui/MessageBox.h"

#include <thread>
#include <tuple>

TEST_F(Program, OffersCentredShowsTheAboutBoxAndEveryWayOfDecliningEndsWithTwo)
{
    for (const std::string way : {"いいえ", "Escape", "close box"}) {
        SCOPED_TRACE(way);
        ProgramRun run;
        const HWND dialog = Launch(run);
        EXPECT_EQ(Seen(dialog), kOffer);
        RECT shown, work;
        EXPECT_TRUE(GetWindowRect(dialog, &shown) && SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_LE(abs(shown.left + shown.right - work.left - work.right) + abs(shown.top + shown.bottom - work.top - work.bottom), 2);
        PostCommand(dialog, ID_APP_ABOUT);
        const HWND about = WaitForProcessDialog(run.ProcessId(), "About", 5000);
        EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
        way == "Escape" ? (void)PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 1) : PostCommand(about, IDOK);
        EXPECT_TRUE(WaitForWindowGone(about, 5000)) << "the About box gone within 5 s";
        way == "いいえ" ? PostCommand(dialog, IDCANCEL) : way == "Escape" ? (void)PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1) : (void)PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(Exit(run), "exit 2");
        EXPECT_EQ(folder.Names(), kInstalled);
        EXPECT_TRUE(ProductKeyExists());
    }
}

TEST_F(Program, FailureShowsAWholeLogPastTheEditControlsDefault30000CharactersAndThenOnlyTheNewRun)
{
    std::string log = kNotRemoved + "\nInfoTipの登録が解除されました。\r\nDravethの登録が解除されませんでした。\r\nファイル'Draveth.exe'は削除されました。\r\n";
    for (int i = 100; i < 260; ++i) {
        folder.Add("L" + std::to_string(i) + std::string(196, 'x'));
        log += "ファイル'L" + std::to_string(i) + std::string(196, 'x') + "'は削除されました。\r\n";
    }
    SetFileAttributesA(folder.PathOf("Notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", "3");
    ProgramRun run;
    const HWND dialog = Launch(run);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", nullptr);
    log += "ファイル'Notes.txt'は削除きでませんでした。\r\nファイル'Pellox.dll'は削除されました。\r\nファイル'Tamsel.dat'の削除はスキップされました。\r\n";
    EXPECT_EQ(Confirm(run, dialog), log + "アンインストール情報レジストリエントリは削除されました。\r\n");
    EXPECT_EQ(Seen(dialog), "-|アンインストール時のログ：|-|閉じる|&About...|");
    log = kNotRemoved + "\nファイル'Pellox.dll'は存在しません。\r\nファイル'Draveth.exe'は存在しません。\r\nファイル'Notes.txt'は削除きでませんでした。\r\n";
    EXPECT_EQ(Confirm(run, dialog), log + "ファイル'Tamsel.dat'の削除はスキップされました。\r\nアンインストール情報レジストリエントリは削除できませんでした。\r\n");
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(Exit(run), "exit 2");
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Notes.txt", "Tamsel.dat"}));
}

TEST_F(Program, ACopyWhoseDialogNamesAMissingWindowClassEndsWithMinusOneAndTouchesNothing)
{
    const std::string exe = folder.PathOf("Morvane.exe");
    ASSERT_TRUE(CopyFileA((BuildFolder() + "\\Morvane.exe").c_str(), exe.c_str(), FALSE));
    struct { DLGTEMPLATE header; WCHAR menuClassCaption[14]; } broken = {{WS_POPUP, 0, 0, 0, 0, 100, 50}, L"\0NoSuchClass"};
    const HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), &broken, sizeof broken));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    ProgramRun run;
    ASSERT_TRUE(run.Start(exe, "", folder.Path()));
    EXPECT_EQ(Exit(run), "exit -1");
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Draveth.exe", "Morvane.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat"}));
    EXPECT_TRUE(ProductKeyExists());
}

TEST_F(Program, HostileFoldersUnderOtherNamesAndThroughLinksLoseNoFile)
{
    const TestFolder cwd("morvane-hostile-cwd"), links("morvane-hostile-links");
    // Wine reaches \\server\share through the prefix's dosdevices\unc; it opens no folder stream, but a link of the stream's name.
    const std::string win = "C:\\windows", canary = "\\morvane-canary.txt", unc = "C:\\..\\dosdevices\\unc\\morvane", stream = cwd.Path() + "::$INDEX_ALLOCATION";
    for (const std::string& link : {unc + "\\C$>" + links.Path(), unc + "\\share>" + cwd.Path(), stream + ">" + cwd.Path(), "windows>" + win, "ordinary>" + folder.Path()})
        links.Add(link);
    ASSERT_FALSE(HasFailure()) << "the links and shares made (a failing command says why above)";
    // A canary wherever a row points: a 32-bit program meets SysWOW64 under System32's name, the real System32 through a link.
    const Lines canaries = {"C:" + canary, win + canary, win + "\\system32" + canary, links.PathOf("windows\\system32\\morvane-canary-2.txt"), cwd.Path() + canary};
    const std::string refused = kNotRemoved + "\nファイル'Pellox.dll'は存在しません。\r\nファイル'Draveth.exe'は存在しません。\r\nアンインストール情報レジストリエントリは削除されました。\r\n | exit 2";
    const std::string shareRefused = kNotRemoved + "\nInfoTipの登録が解除されました。\r\nDravethの登録が解除されました。\r\nアンインストール情報レジストリエントリは削除されました。\r\n | exit 2";
    // The Windows folder by names no name rule knows: a read-only bind mount, then (as Wine would name the mount through it) a drive letter.
    const std::string bound = BuildFolder() + "\\morvane-bind", drive = "ln -sfn ../drive_c/windows " + UnixPath("C:\\..\\dosdevices\\m:");
    if (!RunUnixCommand("mkdir -p " + UnixPath(bound) + " && { mountpoint -q " + UnixPath(bound) + " || mount -o bind,ro " + UnixPath(win) + " " + UnixPath(bound) + "; }"))
        std::cout << "No bind mount on this machine: the row of " << bound << " proves nothing.\n";
    const std::tuple<std::string, std::string, std::string> cases[] = {{"C:", refused, ""}, {win, refused, ""}, {"C:\\users\\..\\windows\\system32", refused, ""},
        {"\\\\morvane\\C$\\ordinary", shareRefused, ""}, {"\\\\morvane\\share", refused, ""}, {stream, refused, ""}, {".", kNotInstalled + " | exit 2", ""},
        {links.PathOf("windows\\system32"), refused, ""}, {bound + "\\system32", refused, ""}, {"M:\\system32", refused, drive}, {links.PathOf("ordinary"), kRemoved + " | exit 1", ""}};
    for (const auto& [folder, expected, before] : cases) {
        ASSERT_TRUE(before.empty() || RunUnixCommand(before)) << before;
        for (const std::string& path : canaries)
            EXPECT_TRUE(std::ofstream(path).is_open()) << "canary not made: " << path;
        WriteUninstallString("Setup.exe -f \"" + folder + "\\x.log\"");
        ProgramRun run;
        const HWND dialog = Launch(run, cwd.Path());
        std::string result = Seen(dialog) == kOffer ? Confirm(run, dialog) : Seen(dialog);
        if (result == kNotInstalled) {  // neither a posted confirm command nor the Enter key starts a removal
            PostCommand(dialog, IDOK);
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_PROMPT)), TRUE);
            PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
            result = WaitForProcessDialog(run.ProcessId(), "Morvane", 1500) ? "a result box" : Seen(dialog);
        }
        if (result != kRemoved)
            PostCommand(dialog, IDCANCEL);
        for (const std::string& path : canaries)
            result += DeleteFileA(path.c_str()) ? "" : " | lost " + path;
        EXPECT_EQ(result + " | " + Exit(run), expected) << folder;
    }
    RunUnixCommand("umount " + UnixPath(bound) + "; rm " + UnixPath("C:\\..\\dosdevices\\m:"));
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Tamsel.dat"}));
    EXPECT_FALSE(ProductKeyExists()) << "after the last, successful run";
}

TEST(Resources, TheManifestAsWindowsReadsIt)
{
    const std::string exe = BuildFolder() + "\\Morvane.exe";
    ACTCTXA request = {sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, exe.c_str(), 0, 0, nullptr, MAKEINTRESOURCEA(1), nullptr, nullptr};
    const HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr);
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_REQUIRE_ADMIN);
}

// In this process, through the framework's message box: LongString.rc's string 300, 300 double-byte characters.
TEST(InThisProcess, ALongDoubleByteMessageWhole)
{
    std::string seen = "no message box within 5 s", expected;
    std::thread look([&seen, ui = GetCurrentThreadId()] {
        const HWND box = WaitForProcessDialog(GetCurrentProcessId(), nullptr, 5000);
        if (!box)
            return (void)PostThreadMessageA(ui, WM_QUIT, 0, 0);  // the message box's loop leaves on WM_QUIT
        seen = ControlText(box, 0xFFFF);
        PostCommand(box, IDOK);
    });
    AtlMessageBox(nullptr, 300u, "Long", MB_OK);
    look.join();
    for (int i = 0; i < 300; ++i)
        expected += "ソ";
    EXPECT_EQ(seen, expected);
}
