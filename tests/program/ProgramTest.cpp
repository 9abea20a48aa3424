#include "tests/program/ProgramDriver.h"

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
    ProgramRun again;  // the entry is gone: not installed, and neither a posted confirm nor the Enter key removes
    const HWND notice = Launch(again);
    EXPECT_EQ(Seen(notice), kNotInstalled);
    PostCommand(notice, IDOK);
    SendMessageA(notice, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(notice, IDC_PROMPT)), TRUE);
    PostMessageA(notice, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(WaitForProcessDialog(again.ProcessId(), "Morvane", 1500) ? "a result box" : Seen(notice), kNotInstalled);
}
