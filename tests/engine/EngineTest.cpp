// The engine on real folders, processes and the registry: the folder from the entry, removals, each call failing.
#include "platform/Platform.h"
#include "tests/support/TestSupport.h"

#include <set>
#include <tuple>

namespace {

bool Has(const Lines& lines, const std::string& line) { return std::count(lines.begin(), lines.end(), line) > 0; }

std::string InfoTipCall(const std::string& folder)
{
    return "Pellox.dll\tC:\\windows\\system32\\rundll32.exe \"" + folder + "\\Pellox.dll\",DllUnregisterServer\thidden";
}
const std::string kToolCall = "Draveth.exe\t/Uninstall\thidden";

// Passes every call to Windows but number failAt (none at 0), which fails, denied, named in failed. It follows each
// handle and key to its close (Wine counts none), and sees that a file's folder is held without FILE_SHARE_DELETE (Wine
// refuses no rename). A folder named kRootOfC has the identity of "C:\" (Wine names every such folder "C:\").
const std::string kRootOfC = "Root of C";
#define PASS(failure, call) \
    (++calls != failAt ? real.call : (failed = #call, SetLastError(ERROR_ACCESS_DENIED), failure))
#define PASS_THROUGH(type, name, failure, params, args) type name params override { return PASS(failure, name args); }
class FailingPlatform final : public Platform {
public:
    int calls = 0, failAt = 0;
    std::string failed;
    std::set<void*> open, rooted;
    bool folderHeld = true;
    HANDLE heldFolder = nullptr;

    LONG RegOpenKeyExA(HKEY k, const char* s, DWORD o, REGSAM a, HKEY* r) override
    {
        const LONG error = PASS(ERROR_ACCESS_DENIED, RegOpenKeyExA(k, s, o, a, r));
        return error == 0 ? Opened(*r), error : error;
    }
    PASS_THROUGH(LONG, RegQueryValueExA, ERROR_ACCESS_DENIED,
                 (HKEY k, const char* n, DWORD* r, DWORD* t, BYTE* d, DWORD* s), (k, n, r, t, d, s))
    PASS_THROUGH(LONG, RegDeleteKeyExA, ERROR_ACCESS_DENIED, (HKEY k, const char* s, REGSAM v, DWORD r), (k, s, v, r))
    LONG RegCloseKey(HKEY k) override { return Closed(k), real.RegCloseKey(k); }
    BOOL CreateProcessA(const char* a, char* c, SECURITY_ATTRIBUTES* p, SECURITY_ATTRIBUTES* t, BOOL i, DWORD f,
                        void* e, const char* d, STARTUPINFOA* s, PROCESS_INFORMATION* n) override
    {
        const BOOL made = PASS(FALSE, CreateProcessA(a, c, p, t, i, f, e, d, s, n));
        return made ? Opened(n->hProcess), Opened(n->hThread), made : made;
    }
    PASS_THROUGH(DWORD, WaitForSingleObject, WAIT_FAILED, (HANDLE h, DWORD m), (h, m))
    PASS_THROUGH(BOOL, TerminateProcess, FALSE, (HANDLE p, UINT c), (p, c))
    PASS_THROUGH(BOOL, GetExitCodeProcess, FALSE, (HANDLE p, DWORD* c), (p, c))
    BOOL CloseHandle(HANDLE h) override { return Closed(h), real.CloseHandle(h); }
    DWORD GetLastError() override { return real.GetLastError(); }
    PASS_THROUGH(UINT, GetSystemDirectoryA, 0, (char* b, UINT s), (b, s))
    PASS_THROUGH(UINT, GetSystemWindowsDirectoryA, 0, (char* b, UINT s), (b, s))
    PASS_THROUGH(DWORD, GetFullPathNameA, 0, (const char* n, DWORD s, char* b, char** f), (n, s, b, f))
    HANDLE CreateFileA(const char* p, DWORD a, DWORD s, SECURITY_ATTRIBUTES* c, DWORD d, DWORD f, HANDLE t) override
    {
        const HANDLE file = Opened(PASS(INVALID_HANDLE_VALUE, CreateFileA(p, a, s, c, d, f, t)));
        if (a & FILE_LIST_DIRECTORY)  // the folder whose files are deleted, to be held without FILE_SHARE_DELETE
            heldFolder = s & FILE_SHARE_DELETE ? nullptr : file;
        if (std::string(p).find(kRootOfC) != std::string::npos)
            rooted.insert(file);
        return file;
    }
    PASS_THROUGH(DWORD, GetFinalPathNameByHandleA, 0, (HANDLE h, char* b, DWORD s, DWORD f), (h, b, s, f))
    BOOL GetFileInformationByHandle(HANDLE h, BY_HANDLE_FILE_INFORMATION* i) override
    {
        const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;
        const HANDLE root = rooted.count(h) ? ::CreateFileA("C:\\", 0, 7, nullptr, OPEN_EXISTING, flags, nullptr) : h;
        const BOOL got = PASS(FALSE, GetFileInformationByHandle(root, i));
        return root != h ? ::CloseHandle(root), got : got;
    }
    HANDLE FindFirstFileA(const char* p, WIN32_FIND_DATAA* d) override
    {
        return Opened(PASS(INVALID_HANDLE_VALUE, FindFirstFileA(p, d)));
    }
    PASS_THROUGH(BOOL, FindNextFileA, FALSE, (HANDLE h, WIN32_FIND_DATAA* d), (h, d))
    BOOL FindClose(HANDLE h) override { return Closed(h), real.FindClose(h); }
    BOOL DeleteFileA(const char* p) override
    {
        folderHeld = folderHeld && open.count(heldFolder) > 0;
        return PASS(FALSE, DeleteFileA(p));
    }
    PASS_THROUGH(BOOL, PathRemoveFileSpecA, FALSE, (char* p), (p))
    PASS_THROUGH(BOOL, PathFileExistsA, FALSE, (const char* p), (p))

private:
    HANDLE Opened(HANDLE handle) { return handle != INVALID_HANDLE_VALUE ? *open.insert(handle).first : handle; }
    void Closed(void* handle) { open.erase(handle), rooted.erase(handle); }
    Platform& real = Win32Platform();
    ScopedPlatform scope{*this};
};

// Files made in the test folder (TestFolder::Add), the current directory too; "~" in a folder is the test folder, "!"
// alone in the log the folder refused, drive N: its "Drive". Wine reaches \\server\share through dosdevices\unc.
const std::string kDriveN = "C:\\..\\dosdevices\\n:>Drive", kServer = "C:\\..\\dosdevices\\unc\\morvane\\";
Lines NoComponents(const Lines& files) { return Lines{"?Pellox.dll", "?Draveth.exe"} + files + Lines{"Entry+"}; }
const Lines kRefused = NoComponents({"!"});
struct Scenario {
    const char *what, *folder;
    Lines files, log, left;   // the names made, the log's lines in short forms (LogLine), the names left
    bool result;
    const char* orders = "";  // "NAME=value" for the stand-ins
    bool subkey = false;      // the uninstall key holds a subkey, and so stays
};

const Scenario kScenarios[] = {
    {"components fail, in a folder whose last byte is a trail byte 0x5C; hidden and system files go", "~\\ソ",
     {u8"ソ\\", u8"ソ\\Pellox.dll", u8"ソ\\Draveth.exe", u8"#ソ\\%s%n.txt", u8"ソ\\ポソ.txt"},
     {"InfoTip-", "Draveth+", "+%s%n.txt", "+Draveth.exe", "+Pellox.dll", "+ポソ.txt", "Entry+"}, {"ソ"}, true,
     "MORVANE_PELLOX_EXIT=1"},
    {"tool past 5 s is ended (a running one could not be deleted)", "~", {"Draveth.exe"},
     {"?Pellox.dll", "Draveth-", "+Draveth.exe", "Entry+"}, {}, true, "MORVANE_DRAVETH_MS=20000"},
    {"preserved file in every spelling, and names Windows reads as it", "~",
     {"TAMSEL.DAT", "Tamsel.dat.", "tamsel.dat  ", "Tamsel.dat.bak", "xTamsel.dat"},
     NoComponents({"=TAMSEL.DAT", "=tamsel.dat  ", "=Tamsel.dat.", "+Tamsel.dat.bak", "+xTamsel.dat"}),
     {"TAMSEL.DAT", "Tamsel.dat.", "tamsel.dat  "}, true},
    // Names as the best-fit table hands them over: "¥" reads as a backslash, "à" as "a".
    {"names that read as paths elsewhere are never deleted", "~",
     {"Tamsel.dat", "Sub\\", "Sub\\Keep.txt", u8"x¥..¥Tamsel.dat", u8"Sub¥Keep.txt", u8"Tàmsel.dat"},
     NoComponents({"-Sub\\Keep.txt", "=Tamsel.dat", "=Tamsel.dat", "-x\\..\\Tamsel.dat"}),
     {"Sub", "Sub\\Keep.txt", "Sub\\Keep.txt", "Tamsel.dat", "Tamsel.dat", "x\\..\\Tamsel.dat"}, false},
    // The shell's join took "\..x" for a step up: "N:\In" + "..x.txt" was "N:x.txt", the drive's current folder.
    {"names that begin with two dots stay in their folder", "N:\\In",
     {kDriveN, "Drive\\", "Drive\\x.txt", "Drive\\In\\", "Drive\\In\\..x.txt"}, NoComponents({"+..x.txt"}),
     {"Drive", "Drive\\In", "Drive\\x.txt"}, true},
    // Windows opens these as devices in any folder: COM5 leads to a file of the test folder.
    {"device names are never deleted", "~\\In", {"C:\\..\\dosdevices\\com5>Port.txt", "Port.txt", "In\\", "In\\COM5",
      "In\\lpt3.log", "In\\nul .txt", "In\\CONIN$", "In\\Aux.a.b", "In\\COM10.txt", "In\\Console.txt"},
     NoComponents({"-Aux.a.b", "+COM10.txt", "-COM5", "-CONIN$", "+Console.txt", "-lpt3.log", "-nul .txt"}),
     {"In", "In\\Aux.a.b", "In\\COM5", "In\\CONIN$", "In\\lpt3.log", "In\\nul .txt", "Port.txt"}, false},
    {"read-only and open files, an entry with a subkey", "~", {"!a.txt", "b.txt", "~c.txt", "d.txt"},
     {"?Pellox.dll", "?Draveth.exe", "-a.txt", "+b.txt", "-c.txt", "+d.txt", "Entry-"}, {"a.txt", "c.txt"}, false,
     "", true},
    // A link to "Data¥Old." (matched by a pattern) resolves to the text "Data\Old", Wine dropping the dot too.
    {"link to a folder whose real path reads as another", "~\\L",
     {u8"Data¥Old.\\", u8"Data¥Old.\\a.txt", "Data\\", "Data\\Old\\", "Data\\Old\\b.txt", "L>Data*Old."}, kRefused,
     {"Data", "Data\\Old", "Data\\Old.", "Data\\Old\\b.txt", "L"}, false},
    {"a link to the root of another drive", "~\\Root", {kDriveN, "Drive\\", "Drive\\x.txt", "Root>Drive"}, kRefused,
     {"Drive", "Drive\\x.txt", "Root"}, false},
    {"a folder that is, by its identity, the root of the Windows volume", "~\\Root of C",
     {"Root of C\\", "Root of C\\a.txt"}, kRefused, {"Root of C", "Root of C\\a.txt"}, false},
    {"written below the Windows folder in other case, a link there to an ordinary folder", "C:\\WINDOWS\\morvane-link",
     {"Keep\\", "Keep\\a.txt", "C:\\windows\\morvane-link>Keep"}, kRefused, {"Keep", "Keep\\a.txt"}, false},
    {"a drive letter for the Windows folder, a name that no name rule knows", "M:\\temp",
     {"C:\\..\\dosdevices\\m:>C:\\windows"}, kRefused, {}, false},
    // Wine opens no folder stream, but a link of the stream's name.
    {"a folder's stream", "C:\\morvane::$INDEX_ALLOCATION", {"C:\\morvane::$INDEX_ALLOCATION>.", "a.txt"}, kRefused,
     {"a.txt"}, false},
    {"the root of a share", "\\\\morvane\\share", {kServer + "share>.", "a.txt"}, kRefused, {"a.txt"}, false},
    {"an administrative share, whose components still run", "\\\\morvane\\C$\\In",
     {kServer + "C$>.", "In\\", "In\\Pellox.dll", "In\\Draveth.exe"}, {"InfoTip+", "Draveth+", "!", "Entry+"},
     {"In", "In\\Draveth.exe", "In\\Pellox.dll"}, false},
    {"a hidden share is an ordinary folder", "\\\\morvane\\apps$\\In", {kServer + "apps$>.", "In\\", "In\\a.txt"},
     NoComponents({"+a.txt"}), {"In"}, true},
    {"relative: the steps would work on the current directory, so nothing is touched", "sub", {"Pellox.dll", "a.txt"},
     {}, {"Pellox.dll", "a.txt"}, false},
};

} // namespace

TEST(UninstallString, GivesTheFolderOfThePathAfterTheFirstSwitchOrNothing)
{
    const bool doubleByte = GetACP() == 932;
    EXPECT_EQ(doubleByte, std::getenv("MORVANE_LOCALE") == nullptr) << "the code page the run was started with";
    const std::string product = "C:\\Program Files\\USB Quarnel2";
    const std::tuple<std::string, DWORD, std::string> values[] = {  // value, type, folder ("": not installed)
        {"C:\\Windows\\Quarnel2Setup.exe -f\"" + product + "\\Uninst.log\"", REG_SZ, product},
        {"-f\"C:\\Program Files\\USB Quarnel2/Uninst.log\"", REG_SZ, product},
        {"-f\"C:/Program Files/USB Quarnel2/Uninst.log\"", REG_SZ, product},
        {"x-f \t C:\\A\\b.log -f\"C:\\B\\c.log\"", REG_SZ, "C:\\A"}, {"-f\"C:\\A B\\c.log", REG_SZ, "C:\\A B"},
        {"-fC:\\x.log", REG_SZ, "C:\\"}, {"-f\\\\srv\\share\\A\\x.log", REG_SZ, "\\\\srv\\share\\A"},
        {"-fC:\\ソ\\ソ", REG_SZ, doubleByte ? "C:\\ソ" : "C:\\\x83\\\\\x83"}, {"-f\\\\.\\C:\\A\\x.log", REG_SZ, ""},
        {"-f\\\\ソ\\share\\A\\x.log", REG_SZ, doubleByte ? "\\\\ソ\\share\\A" : ""},
        {"-fC:\\A\\b.log", REG_BINARY, "C:\\A"}, {"-FC:\\A\\b.log", REG_SZ, ""}, {"-fC:", REG_DWORD, ""},
        {std::string("-fC:\\A\\b.log\0-fC:\\B\\c.log\0", 26), REG_MULTI_SZ, "C:\\A"}, {"no key at all", REG_NONE, ""},
        {"-f\r\nC:\\A\\b.log", REG_SZ, ""}, {"-fsub\\Uninst.log", REG_SZ, ""}, {"-f\\sub\\Uninst.log", REG_SZ, ""},
        {"-fC:sub\\Uninst.log", REG_SZ, ""}, {"-f\\\\?\\C:\\A\\x.log", REG_SZ, ""},
    };
    for (const auto& [data, type, expected] : values) {
        SCOPED_TRACE(data);
        type == REG_NONE ? (void)RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey) : WriteUninstallString(data, type);
        std::string folder;
        EXPECT_EQ(LocateInstallFolder(folder), !expected.empty());
        EXPECT_EQ(folder, expected);
    }
}

TEST(Removal, EachScenarioLeavesWhatItMustAndLogsItInOrder)
{
    FailingPlatform platform;  // failing no call
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.what);
        TestFolder folder("Quarnel 2 install");
        SetCurrentDirectoryA(folder.Path().c_str());
        for (const std::string& name : scenario.files)
            ASSERT_TRUE(folder.Add(name));
        WriteUninstallString("-fUninst.log");
        if (scenario.subkey)
            RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kProductKey + std::string("\\Sub")).c_str(), nullptr, REG_SZ, "", 1);
        const std::string orders = scenario.orders, at = scenario.folder;
        const std::string installFolder = at[0] == '~' ? folder.Path() + at.substr(1) : at;
        _putenv(orders.c_str());
        TakeStandInCalls();

        CUninstaller uninstaller(installFolder.c_str());
        const DWORD started = GetTickCount();
        EXPECT_EQ(uninstaller.Execute(), scenario.result);
        const DWORD took = GetTickCount() - started;
        _putenv(orders.substr(0, orders.find('=') + 1).c_str());  // "NAME=" unsets it

        Lines log, calls;  // every component whose step logs an outcome was called
        for (const std::string& code : scenario.log) {
            log.push_back(LogLine(code == "!" ? "!" + installFolder : code));
            if (code.compare(0, 7, "InfoTip") == 0 || code.compare(0, 7, "Draveth") == 0)
                calls.push_back(code[0] == 'I' ? InfoTipCall(installFolder) : kToolCall);
        }
        EXPECT_EQ(LogLines(uninstaller), log);
        EXPECT_EQ(folder.Names(), scenario.left);
        EXPECT_EQ(ProductKeyExists(), !Has(scenario.log, "Entry+"));
        EXPECT_TRUE(orders != "MORVANE_DRAVETH_MS=20000" || (took >= 5000 && took < 6500)) << took;
        EXPECT_EQ(TakeStandInCalls(), calls);
    }
}

// As a full disk or a denied access would: nothing left open, what must stay stays, every line tells the truth.
TEST(Faults, EveryFailingCallLeavesNoHandleKeepsWhatMustStayAndTellsTheTruth)
{
    FailingPlatform platform;
    const Lines installed = {"Draveth.exe", "Pellox.dll", "Sub", "Sub\\Keep.txt", "Tamsel.dat", "a.txt"};
    const std::string judgement = "GetFullPathNameA GetSystemWindowsDirectoryA CreateFileA GetFinalPathNameByHandleA "
                                  "GetFileInformationByHandle FindFirstFileA";
    for (int failAt = 0, total = 0; failAt <= total; ++failAt) {  // total: the calls of a run in which none fails
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        TestFolder folder("Quarnel 2 faults");
        for (const std::string& name : installed)
            folder.Add(name == "Sub" ? "Sub\\" : name);
        WriteUninstallString("-f\"" + folder.PathOf("Uninst.log") + "\"");
        TakeStandInCalls();
        platform.calls = 0, platform.failed = "", platform.failAt = failAt;
        std::string found;
        const bool located = LocateInstallFolder(found);
        CUninstaller uninstaller(found.c_str());
        const bool result = located && uninstaller.Execute();
        total = failAt == 0 ? platform.calls : total;

        EXPECT_TRUE(platform.open.empty()) << "handles and keys left open";
        platform.open.clear();
        EXPECT_TRUE(platform.folderHeld) << "the folder could be deleted or renamed while its files were";
        const Lines log = LogLines(uninstaller), left = folder.Names(), calls = TakeStandInCalls();
        const std::string call = platform.failed.substr(0, platform.failed.find('('));
        EXPECT_TRUE(failAt == 0 || judgement.find(call) == std::string::npos || left == installed)
            << "a folder not judged keeps every file: " << platform.failed;
        for (const std::string name : {"Pellox.dll", "Draveth.exe", "a.txt"}) {
            EXPECT_EQ(Has(log, LogLine("+" + name)), !Has(left, name)) << name;
            EXPECT_TRUE(!Has(left, name) || !result) << name;
        }
        EXPECT_EQ(Has(log, LogLine("Entry+")), !ProductKeyExists());
        EXPECT_TRUE(!ProductKeyExists() || !result);
        EXPECT_TRUE(!Has(log, LogLine("InfoTip+")) || Has(calls, InfoTipCall(folder.Path())));
        EXPECT_TRUE(!Has(log, LogLine("Draveth+")) || Has(calls, kToolCall));
        EXPECT_TRUE(Has(left, "Tamsel.dat") && Has(left, "Sub\\Keep.txt"));
    }
}
