// The real BUILD\Morvane.exe as a user, an attacker and Windows see it: its dialog's states, result box and
// exit codes, driven from outside (with screenshots in BUILD\screenshots); hostile install folders; its
// resources; and the message box's long strings (LongString.rc, in this process).
#include "UiDriver.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "ui/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

namespace {

const std::string kOffer = "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？|-|はい|いいえ|&About...|";
const std::string kNotInstalled = "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。|-|-(off)|閉じる|&About...|";
const std::string kRemoved = "正常にアンインストールされました。 [OK]", kNotRemoved = "アンインストールできませんでした。 [OK]";
const Lines kInstalled = {"Data", "Data\\Keep.txt", "Draveth.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat"};

std::string Seen(HWND dialog) { return ControlsSeen(dialog, {IDC_PROMPT, IDC_LOG_LABEL, IDOK, IDCANCEL, ID_APP_ABOUT}); }
std::string Exit(ProgramRun& run) { return "exit " + std::to_string(static_cast<int>(run.WaitForExit(5000))); }

HWND Launch(ProgramRun& run, const std::string& currentDirectory = "")
{
    EXPECT_TRUE(run.Start(BuildPath("Morvane.exe"), "", currentDirectory));
    const HWND dialog = WaitForProcessDialog(run.ProcessId(), "USB Quarnel Uninstaller", 8000);
    EXPECT_NE(dialog, nullptr) << "the main dialog within 8 s";
    return dialog;
}

// Confirms the removal and presses the result box away: the box as seen, then the log view if shown.
std::string Confirm(const ProgramRun& run, HWND dialog, const char* screenshot = nullptr)
{
    PostCommand(dialog, IDOK);
    const HWND box = WaitForProcessDialog(run.ProcessId(), "Morvane", 10000);
    const std::string seen = box ? MessageBoxSeen(box) : "no result box within 10 s";
    if (box && screenshot)
        Screenshot(screenshot, box);
    PostCommand(box, IDOK);
    const bool log = box && seen != kRemoved && WaitForControlShown(dialog, IDC_LOG, 5000);
    return log ? seen + "\n" + ControlText(dialog, IDC_LOG) : seen;
}

class Program : public testing::Test {
protected:
    Program()
    {
        for (const std::string& name : kInstalled)
            folder.Add(name + (name == "Data" ? "\\" : ""));
        WriteUninstallString("Setup.exe -f \"" + folder.PathOf("Uninst.log") + "\"");
    }
    ~Program() override { RemoveProductKey(); }
    const TestFolder folder{"morvane-program"};
};

TEST_F(Program, OffersCentredShowsTheAboutBoxAndEveryWayOfDecliningEndsWithTwo)
{
    for (const std::string way : {"No, About by OK", "Escape, About by Escape", "close box, About by OK"}) {
        SCOPED_TRACE(way);
        ProgramRun run;
        const HWND dialog = Launch(run);
        EXPECT_EQ(Seen(dialog), kOffer);
        RECT shown, work;
        GetWindowRect(dialog, &shown), SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_LE(abs(shown.left + shown.right - work.left - work.right) + abs(shown.top + shown.bottom - work.top - work.bottom), 2);
        PostCommand(dialog, ID_APP_ABOUT);
        const HWND about = WaitForProcessDialog(run.ProcessId(), "About", 5000);
        ASSERT_NE(about, nullptr) << "the About box within 5 s";
        EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
        EXPECT_EQ(DialogTexts(about), "About: OK|Morvane Application v1.0\n\nCopyright (C) 2026|icon||");
        if (way[0] == 'N')
            Screenshot("about", about), Screenshot("offer", dialog);
        way[0] == 'E' ? PostKey(about, VK_ESCAPE) : PostCommand(about, IDOK);
        EXPECT_TRUE(WaitForWindowGone(about, 5000)) << "the About box gone within 5 s";
        EXPECT_EQ(Seen(dialog), kOffer);
        way[0] == 'N' ? PostCommand(dialog, IDCANCEL)
                      : way[0] == 'E' ? PostKey(dialog, VK_ESCAPE) : (void)PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(Exit(run), "exit 2");
        EXPECT_EQ(folder.Names(), kInstalled);
        EXPECT_TRUE(ProductKeyExists());
    }
}

TEST_F(Program, SuccessRemovesThePlainFilesAndTheKeyAndEndsWithOne)
{
    const StandInRecord record;
    ProgramRun run;
    const HWND dialog = Launch(run);
    EXPECT_EQ(Confirm(run, dialog, "success"), kRemoved);
    EXPECT_EQ(Exit(run), "exit 1");
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Tamsel.dat"}));
    EXPECT_FALSE(ProductKeyExists());
    char system[MAX_PATH];
    const std::string rundll32 = std::string(system, GetSystemDirectoryA(system, MAX_PATH)) + "\\rundll32.exe \"";
    EXPECT_EQ(record.Calls(), (Lines{"Pellox.dll\t" + rundll32 + folder.PathOf("Pellox.dll") + "\",DllUnregisterServer\t1",
                                     "Draveth.exe\t/Uninstall\t1"}));
}

// The log is longer than an edit control takes by default (30,000 characters).
TEST_F(Program, FailureShowsTheWholeLogAndAFurtherConfirmShowsOnlyTheNewRun)
{
    std::string log = kNotRemoved + "\nInfoTipの登録が解除されました。\r\nDravethの登録が解除されませんでした。\r\n"
                                    "ファイル'Draveth.exe'は削除されました。\r\n";
    for (int i = 100; i < 260; ++i) {
        folder.Add("L" + std::to_string(i) + std::string(196, 'x'));
        log += "ファイル'L" + std::to_string(i) + std::string(196, 'x') + "'は削除されました。\r\n";
    }
    SetFileAttributesA(folder.PathOf("Notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", "3");
    ProgramRun run;
    const HWND dialog = Launch(run);
    SetEnvironmentVariableA("MORVANE_DRAVETH_EXIT", nullptr);
    EXPECT_EQ(Confirm(run, dialog, "failure"), log + "ファイル'Notes.txt'は削除きでませんでした。\r\nファイル'Pellox.dll'は削除されました。\r\n"
              "ファイル'Tamsel.dat'の削除はスキップされました。\r\nアンインストール情報レジストリエントリは削除されました。\r\n");
    EXPECT_EQ(Seen(dialog), "-|アンインストール時のログ：|-|閉じる|&About...|");
    Screenshot("log-view", dialog);
    EXPECT_EQ(Confirm(run, dialog), kNotRemoved + "\nファイル'Pellox.dll'は存在しません。\r\nファイル'Draveth.exe'は存在しません。\r\n"
              "ファイル'Notes.txt'は削除きでませんでした。\r\nファイル'Tamsel.dat'の削除はスキップされました。\r\n"
              "アンインストール情報レジストリエントリは削除できませんでした。\r\n");
    PostCommand(dialog, IDCANCEL);
    EXPECT_EQ(Exit(run), "exit 2");
    EXPECT_EQ(folder.Names(), (Lines{"Data", "Data\\Keep.txt", "Notes.txt", "Tamsel.dat"}));
}

// A copy whose main dialog names a window class that does not exist.
TEST_F(Program, DialogThatCannotBeCreatedEndsWithMinusOneAndTouchesNothing)
{
    const TestFolder copy("morvane-broken");
    const std::string exe = copy.PathOf("Morvane.exe");
    ASSERT_TRUE(CopyFileA(BuildPath("Morvane.exe").c_str(), exe.c_str(), FALSE));
    struct {
        DLGTEMPLATE header;
        WCHAR menuClassCaption[14];  // no menu, the class, no caption
    } broken = {{WS_POPUP, 0, 0, 0, 0, 100, 50}, L"\0NoSuchClass"};
    const HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                                &broken, sizeof broken) && EndUpdateResourceA(update, FALSE));
    ProgramRun run;
    ASSERT_TRUE(run.Start(exe, "", folder.Path()));
    EXPECT_EQ(Exit(run), "exit -1");
    EXPECT_EQ(folder.Names(), kInstalled);
    EXPECT_TRUE(ProductKeyExists());
}

// Install folders that are a system folder under another name or through a link (Unix symbolic links made
// in the prefix, which Wine shows as reparse points), with canaries in C:\, the Windows folder, System32 and
// the current directory. One table, printed as it runs.
TEST(Hostile, SystemFoldersUnderOtherNamesAndThroughLinksLoseNoFile)
{
    const TestFolder cwd("morvane-hostile-cwd"), ordinary("morvane-hostile-ordinary");
    for (const std::string& name : kInstalled)
        ordinary.Add(name + (name == "Data" ? "\\" : ""));
    char windows[MAX_PATH];
    const std::string win(windows, GetWindowsDirectoryA(windows, MAX_PATH)), canary = "\\morvane-canary.txt";
    const Lines canaries = {"C:" + canary, win + canary, win + "\\system32" + canary, cwd.Path() + canary};
    for (const std::string& path : canaries)
        CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::string make = "true", remove = "rm -f";  // links in drive C
    for (const auto& [link, target] : {std::pair<std::string, std::string>{"C:\\link-windows", win}, {"C:\\link-root", "C:\\"},
             {"C:\\link-system32", win + "\\system32"}, {"C:\\link-broken", "C:\\nowhere"}, {"C:\\link-ordinary", ordinary.Path()}})
        make += " && ln -s " + UnixPath(target) + " " + UnixPath(link), remove += " " + UnixPath(link);
    EXPECT_TRUE(RunUnixCommand(make, 5000)) << "the links made within 5 s";
    const std::string refused = "offer | failure box, log of a refusal | exit 2 |";
    const std::pair<std::string, std::string> cases[] = {{"C:", refused}, {win, refused}, {win + "\\system32", refused},
        {"C:\\users\\..\\windows\\system32", refused}, {win + "/system32", refused}, {win + "\\system32..", refused},
        {"\\\\localhost\\C$\\windows", refused}, {"sub", "not installed | - | exit 2 |"}, {"C:\\link-windows", refused},
        {"C:\\link-system32", refused}, {"C:\\link-root", refused}, {"C:\\link-windows\\system32", refused},
        {"C:\\link-broken", refused}, {"C:\\link-ordinary", "offer | success box | exit 1 |"}};
    const std::string refusal = kNotRemoved + "\nファイル'Pellox.dll'は存在しません。\r\nファイル'Draveth.exe'は存在しません。\r\n"
                                              "アンインストール情報レジストリエントリは削除されました。\r\n";
    std::printf("%-28s %s\n", "install folder", "state shown | result box | exit code | canaries lost");
    for (const auto& [folder, expected] : cases) {
        WriteUninstallString("Setup.exe -f \"" + folder + "\\x.log\"");
        ProgramRun run;
        const HWND dialog = Launch(run, cwd.Path());
        const std::string seen = dialog ? Seen(dialog) : "no dialog";
        std::string result = seen == kOffer ? Confirm(run, dialog) : "-";
        if (seen == kNotInstalled) {  // neither a posted confirm command nor the Enter key starts a removal
            Screenshot("not-installed", dialog), PostCommand(dialog, IDOK), FocusControl(dialog, IDC_PROMPT);
            PostKey(dialog, VK_RETURN);
            result = WaitForProcessDialog(run.ProcessId(), "Morvane", 1500) ? "a result box" : Seen(dialog) == seen ? "-" : "changed";
        }
        if (dialog && result != kRemoved)
            PostCommand(dialog, IDCANCEL);
        std::string row = (seen == kOffer ? "offer | " : seen == kNotInstalled ? "not installed | " : "other | ") +
                          (result == kRemoved ? "success box" : result == refusal ? "failure box, log of a refusal" : result) +
                          " | " + Exit(run) + " |";
        for (const std::string& path : canaries)
            row += GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? " " + path : "";
        std::printf("%-28s %s\n", folder.c_str(), row.c_str());
        EXPECT_EQ(row, expected) << folder << ": " << seen;
    }
    EXPECT_EQ(ordinary.Names(), (Lines{"Data", "Data\\Keep.txt", "Tamsel.dat"}));
    EXPECT_TRUE(RunUnixCommand(remove, 5000)) << "the links removed within 5 s";
    for (const std::string& path : canaries)
        DeleteFileA(path.c_str());
    RemoveProductKey();
}

// String 128 is the result box's caption, by which the tests above find it.
TEST(Resources, ManifestVersionRecordAndIconAsWindowsReadsThem)
{
    const std::string exe = BuildPath("Morvane.exe");
    ACTCTXA request = {sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, exe.c_str(), 0, 0, nullptr, MAKEINTRESOURCEA(1), nullptr, nullptr};
    const HANDLE context = CreateActCtxA(&request);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie)) << GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr);
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_REQUIRE_ADMIN);
    char path[MAX_PATH] = "";  // common controls 6 come from their side-by-side assembly
    GetModuleFileNameA(LoadLibraryA("comctl32.dll"), path, MAX_PATH);
    EXPECT_NE(std::string(CharLowerA(path)).find("\\winsxs\\"), std::string::npos) << path;
    DeactivateActCtx(0, cookie), ReleaseActCtx(context);

    std::string data(GetFileVersionInfoSizeA(exe.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, data.size(), &data[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    EXPECT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&fixed), &size) && fixed->dwFileVersionMS == 0x10000 &&
                fixed->dwFileVersionLS == 1) << "file version 1.0.0.1";
    for (const auto& [key, expected] : {std::pair<std::string, std::string>{"FileDescription", "Morvane Module"},
             {"FileVersion", "1, 0, 0, 1"}, {"InternalName", "Morvane"}, {"OriginalFilename", "Morvane.exe"},
             {"ProductName", "Morvane Module"}, {"ProductVersion", "1, 0, 0, 1"}}) {
        char* value = nullptr;
        VerQueryValueA(&data[0], ("\\StringFileInfo\\040904B0\\" + key).c_str(), reinterpret_cast<void**>(&value), &size);
        EXPECT_EQ(value ? value : "missing", expected) << key;
    }

    const HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDR_APP), RT_GROUP_ICON);
    for (int pixels : {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)}) {
        // The image the system picks for the size is of that size, not one to be scaled.
        const int id = LookupIconIdFromDirectoryEx(static_cast<BYTE*>(LoadResource(module, group)), TRUE, pixels, pixels, 0);
        const auto* image = static_cast<BITMAPINFOHEADER*>(LoadResource(module, FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON)));
        EXPECT_EQ(image ? image->biWidth : 0, pixels);
    }
    FreeLibrary(module);
}

// String 300 of this program (LongString.rc): 300 double-byte characters, 600 bytes.
TEST(MessageBoxStrings, LoadsALongDoubleByteStringWhole)
{
    std::thread show([] { AtlMessageBox(nullptr, 300u, "Long", MB_OK); });
    const HWND box = WaitForProcessDialog(GetCurrentProcessId(), "Long", 5000);
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "ソ";
    EXPECT_EQ(box ? ControlText(box, 0xFFFF) : "no box within 5 s", expected);
    PostCommand(box, IDOK);
    box ? show.join() : show.detach();
}

} // namespace
