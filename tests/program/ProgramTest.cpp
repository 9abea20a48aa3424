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
        EXPECT_LE(abs(shown.left + shown.right - work.left - work.right) +
                      abs(shown.top + shown.bottom - work.top - work.bottom), 2);
        PostCommand(dialog, ID_APP_ABOUT);
        const HWND about = WaitForProcessDialog(run.ProcessId(), "About", 5000);
        EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
        POINT origin = {0, 0}, aboutOrigin = {0, 0};  // not centred: at its template's place, (0, 0) in the owner
        EXPECT_TRUE(ClientToScreen(dialog, &origin) && ClientToScreen(about, &aboutOrigin));
        EXPECT_EQ(std::pair(aboutOrigin.x, aboutOrigin.y), std::pair(origin.x, origin.y));
        way == "Escape" ? (void)PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 1) : PostCommand(about, IDOK);
        EXPECT_TRUE(WaitForWindowGone(about, 5000)) << "the About box gone within 5 s";
        if (way == "いいえ")
            PostCommand(dialog, IDCANCEL);
        else
            PostMessageA(dialog, way == "Escape" ? WM_KEYDOWN : WM_SYSCOMMAND, way == "Escape" ? VK_ESCAPE : SC_CLOSE,
                         1);
        EXPECT_EQ(Exit(run), "exit 2");
        EXPECT_EQ(folder.Names(), kInstalled);
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
    SetFileAttributesA(folder.PathOf("Notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", "3");
    ProgramRun run;
    const HWND dialog = Launch(run);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", nullptr);
    EXPECT_EQ(Confirm(run, dialog), FailureSeen(log + Lines{"-Notes.txt", "+Pellox.dll", "=Tamsel.dat", "Entry+"}));
    EXPECT_EQ(Seen(dialog), "-|アンインストール時のログ：|-|閉じる|&About...|");
    const std::string shown = ControlText(dialog, IDC_LOG);
    SendMessageA(GetDlgItem(dialog, IDC_LOG), WM_CHAR, 'x', 1);  // typed into the log view, which is read-only
    EXPECT_EQ(ControlText(dialog, IDC_LOG), shown);
    log = {"?Pellox.dll", "?Draveth.exe", "-Notes.txt", "=Tamsel.dat", "Entry-"};
    EXPECT_EQ(Confirm(run, dialog), FailureSeen(log));
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(Exit(run), "exit 2");
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Notes.txt", "Tamsel.dat"}));
}

TEST_F(Program, ACopyWhoseDialogNamesAMissingWindowClassEndsWithMinusOneAndTouchesNothing)
{
    const std::string exe = folder.PathOf("Morvane.exe");
    ASSERT_TRUE(CopyFileA((BuildFolder() + "\\Morvane.exe").c_str(), exe.c_str(), FALSE));
    struct {
        DLGTEMPLATE header;
        WCHAR menuClassCaption[14];
    } broken = {{WS_POPUP, 0, 0, 0, 0, 100, 50}, L"\0NoSuchClass"};
    const HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    const WORD language = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN), language, &broken, sizeof broken));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    ProgramRun run;
    ASSERT_TRUE(run.Start(exe, "", folder.Path()));
    EXPECT_EQ(Exit(run), "exit -1");
    EXPECT_EQ(folder.Names(),
              (Lines{"Data", "Data\\Keep.txt", "Draveth.exe", "Morvane.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat"}));
    EXPECT_TRUE(ProductKeyExists());
}

// What a confirmed run ends with when the file step refuses the folder: the components' lines, the refusal, the
// entry.
std::string RefusedRun(const std::string& folder, bool components)
{
    const Lines found = components ? Lines{"InfoTip+", "Draveth+"} : Lines{"?Pellox.dll", "?Draveth.exe"};
    return FailureSeen(found + Lines{"!" + folder, "Entry+"}) + " | exit 2";
}

TEST_F(Program, HostileFoldersUnderOtherNamesAndThroughLinksLoseNoFile)
{
    const TestFolder cwd("morvane-hostile-cwd"), links("morvane-hostile-links");
    // Wine reaches \\server\share through the prefix's dosdevices\unc; it opens no folder stream, but a link of the
    // stream's name. "win\x\..dows" is an ordinary folder that the shell's join read as "windows", a link there. The
    // drive M: maps to the Windows folder, a name that no name rule knows.
    const std::string win = "C:\\windows", canary = "morvane-canary.txt", canary2 = "morvane-canary-2.txt";
    const std::string unc = "C:\\..\\dosdevices\\unc\\morvane", stream = cwd.Path() + "::$INDEX_ALLOCATION";
    const Lines made = {unc + "\\C$>" + links.Path(), unc + "\\share>" + cwd.Path(), stream + ">" + cwd.Path(),
                        "windows>" + win, "ordinary>" + folder.Path(), unc + "\\apps$>" + links.Path(),
                        "win\\", "win\\x\\", "win\\x\\..dows\\", "win\\x\\..dows\\Readme.txt", "apps\\",
                        "apps\\Readme.txt", "C:\\..\\dosdevices\\m:>" + win};
    for (const std::string& link : made)
        ASSERT_TRUE(links.Add(link));
    // A canary wherever a row points: a 32-bit program meets SysWOW64 under System32's name, the real System32 through
    // a link.
    const Lines canaries = {"C:\\" + canary, win + "\\" + canary, win + "\\system32\\" + canary,
                            links.PathOf("windows\\system32\\" + canary2), cwd.PathOf(canary)};
    // Each row's folder, the file through which it proves to reach its target, and how the run ends: refused with
    // or without the components' lines (R, r), removed (d) or not installed (n).
    const std::tuple<std::string, std::string, char> cases[] = {
        {"C:", canary, 'r'}, {win, canary, 'r'}, {"C:\\users\\..\\windows\\system32", canary, 'r'},
        {"\\\\morvane\\C$\\ordinary", "Tamsel.dat", 'R'}, {"\\\\morvane\\share", canary, 'r'}, {stream, canary, 'r'},
        {".", "", 'n'}, {"M:\\system32", canary2, 'r'}, {links.PathOf("ordinary"), "Tamsel.dat", 'd'},
        {links.PathOf("win\\x\\..dows"), "Readme.txt", 'd'}, {"\\\\morvane\\apps$\\apps", "Readme.txt", 'd'}};
    for (const auto& [folder, probe, outcome] : cases) {
        for (const std::string& path : canaries)
            ASSERT_TRUE(std::ofstream(path).is_open()) << "canary not made: " << path;
        ASSERT_TRUE(probe.empty() || GetFileAttributesA((folder + "\\" + probe).c_str()) != INVALID_FILE_ATTRIBUTES)
            << "the row does not reach its target: " << folder << "\\" << probe;
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
        const std::string expected = outcome == 'n'   ? kNotInstalled + " | exit 2"
                                     : outcome == 'd' ? kRemoved + " | exit 1"
                                                      : RefusedRun(folder == "C:" ? "C:\\" : folder, outcome == 'R');
        EXPECT_EQ(result + " | " + Exit(run), expected) << folder;
    }
    RunUnixCommand("rm " + UnixPath("C:\\..\\dosdevices\\m:"));
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Tamsel.dat"}));
    EXPECT_EQ(links.Names(), (Lines{"apps", "ordinary", "win", "win\\x", "win\\x\\..dows", "windows"}));
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
