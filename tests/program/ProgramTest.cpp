#include "tests/program/ProgramDriver.h"

#include <tuple>

TEST_F(Program, OffersCentredShowsTheAboutBoxAndEveryWayOfDecliningEndsWithTwo)
{
    // Each way of declining: いいえ, the Escape key (which also closes the About box), the close box.
    const std::pair<UINT, WPARAM> ways[] = {{WM_COMMAND, IDCANCEL}, {WM_KEYDOWN, VK_ESCAPE}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& [message, key] : ways) {
        SCOPED_TRACE(message);
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
        EXPECT_EQ(CutTexts(about, DialogFont()), "");
        POINT origin = {0, 0}, aboutOrigin = {0, 0};  // not centred: at its template's place, (0, 0) in the owner
        EXPECT_TRUE(ClientToScreen(dialog, &origin) && ClientToScreen(about, &aboutOrigin));
        EXPECT_EQ(std::pair(aboutOrigin.x, aboutOrigin.y), std::pair(origin.x, origin.y));
        message == WM_KEYDOWN ? (void)PostMessageA(about, message, key, 1) : PostCommand(about, IDOK);
        EXPECT_TRUE(WaitForWindowGone(about, 5000)) << "the About box gone within 5 s";
        PostMessageA(dialog, message, key, message == WM_KEYDOWN);
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
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);  // the program's scale, and the display's
    EXPECT_EQ(dpi, std::atoi(std::getenv("MORVANE_DPI") ? std::getenv("MORVANE_DPI") : "96"));
    Screenshot("log-view-" + std::to_string(dpi) + "dpi", dialog);
    const std::string shown = ControlText(dialog, IDC_LOG);
    SendMessageA(GetDlgItem(dialog, IDC_LOG), WM_CHAR, 'x', 1);  // typed into the log view, which is read-only
    EXPECT_EQ(ControlText(dialog, IDC_LOG), shown);
    log = {"?Pellox.dll", "?Draveth.exe", "-Notes.txt", "=Tamsel.dat", "Entry-"};
    EXPECT_EQ(Confirm(run, dialog), FailureSeen(log));
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(Exit(run), "exit 2");
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Notes.txt", "Tamsel.dat"}));
    ProgramRun again;  // the entry is gone: not installed
    EXPECT_EQ(Seen(Launch(again)), kNotInstalled);
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
        const Lines components = outcome == 'R' ? Lines{"InfoTip+", "Draveth+"} : Lines{"?Pellox.dll", "?Draveth.exe"};
        const std::string refused = FailureSeen(components + Lines{"!" + (folder == "C:" ? "C:\\" : folder), "Entry+"});
        const std::string expected = outcome == 'n'   ? kNotInstalled + " | exit 2"
                                     : outcome == 'd' ? kRemoved + " | exit 1" : refused + " | exit 2";
        EXPECT_EQ(result + " | " + Exit(run), expected) << folder;
    }
    RunUnixCommand("rm " + UnixPath("C:\\..\\dosdevices\\m:"));
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Tamsel.dat"}));
    EXPECT_EQ(links.Names(), (Lines{"apps", "ordinary", "win", "win\\x", "win\\x\\..dows", "windows"}));
}
