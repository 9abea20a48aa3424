// The four removal steps on real folders, child processes and the registry: what each scenario
// leaves behind, the log lines in order, the children's command lines and the overall result; and a
// whole removal with each of its Windows calls failing in turn.
#include "engine/Uninstaller.h"
#include "platform/Platform.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Deleted(const std::string& name) { return "ファイル'" + name + "'は削除されました。"; }
std::string NotDeleted(const std::string& name) { return "ファイル'" + name + "'は削除きでませんでした。"; }
std::string Skipped(const std::string& name) { return "ファイル'" + name + "'の削除はスキップされました。"; }
std::string Missing(const std::string& name) { return "ファイル'" + name + "'は存在しません。"; }
const std::string kInfoTipDone = "InfoTipの登録が解除されました。";
const std::string kInfoTipFailed = "InfoTipの登録が解除されませんでした。";
const std::string kToolDone = "Dravethの登録が解除されました。";
const std::string kToolFailed = "Dravethの登録が解除されませんでした。";
const std::string kEntryDone = "アンインストール情報レジストリエントリは削除されました。";
const std::string kEntryFailed = "アンインストール情報レジストリエントリは削除できませんでした。";

// The children as they record their calls: by full path, with a hidden window.
std::string InfoTipCall(const TestFolder& folder)
{
    return "Pellox.dll\tC:\\windows\\system32\\rundll32.exe \"" + folder.PathOf("Pellox.dll") + "\",DllUnregisterServer\thidden";
}
const std::string kToolCall = "Draveth.exe\t/Uninstall\thidden";

bool Has(const Lines& lines, const std::string& line)
{
    return std::count(lines.begin(), lines.end(), line) > 0;
}

// Files are made as named; "!" before a name makes it read-only, "~" keeps it open without
// FILE_SHARE_DELETE while the removal runs. Pellox.dll and Draveth.exe are the stand-ins.
struct Scenario {
    const char* what;
    Lines files;
    const char* environment;  // "NAME=value" for the stand-ins, or ""
    int entry;                // the uninstall key: 0 gone, 1 there, 2 there with a subkey
    Lines log;
    Lines left;
    bool result;
};

const Scenario kScenarios[] = {
    {"whole installation", {"Pellox.dll", "Draveth.exe", "Readme.txt", "Tamsel.dat", "Sub\\", "Sub\\Keep.txt"}, "", 1,
     {kInfoTipDone, kToolDone, Deleted("Draveth.exe"), Deleted("Pellox.dll"), Deleted("Readme.txt"), Skipped("Tamsel.dat"), kEntryDone},
     {"Sub", "Sub\\Keep.txt", "Tamsel.dat"}, true},
    {"components fail", {"Pellox.dll", "Draveth.exe"}, "MORVANE_PELLOX_EXIT=1", 1,
     {kInfoTipFailed, kToolDone, Deleted("Draveth.exe"), Deleted("Pellox.dll"), kEntryDone}, {}, true},
    {"tool past 5 s is ended (a running one could not be deleted)", {"Draveth.exe"}, "MORVANE_DRAVETH_MS=20000", 1,
     {Missing("Pellox.dll"), kToolFailed, Deleted("Draveth.exe"), kEntryDone}, {}, true},
    {"preserved file in every spelling, and names Windows reads as it", {"TAMSEL.DAT", "Tamsel.dat.", "tamsel.dat  ", "Tamsel.dat.bak", "xTamsel.dat"}, "", 1,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("TAMSEL.DAT"), Skipped("tamsel.dat  "), Skipped("Tamsel.dat."), Deleted("Tamsel.dat.bak"), Deleted("xTamsel.dat"), kEntryDone},
     {"TAMSEL.DAT", "Tamsel.dat.", "tamsel.dat  "}, true},
    {"read-only and open files", {"!a.txt", "b.txt", "~c.txt", "d.txt"}, "", 1,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), NotDeleted("a.txt"), Deleted("b.txt"), NotDeleted("c.txt"), Deleted("d.txt"), kEntryDone},
     {"a.txt", "c.txt"}, false},
    {"entry already gone", {"Tamsel.dat"}, "", 0,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("Tamsel.dat"), kEntryFailed}, {"Tamsel.dat"}, false},
    {"entry with a subkey stays", {}, "", 2, {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryFailed}, {}, false},
    {"empty folder", {}, "", 1, {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryDone}, {}, true},
};

// Passes every call to Windows, except the call whose number is failAt, which fails as Windows
// reports a denied access. Closing and asking for the last error always work.
class FailingPlatform final : public Platform {
public:
    int calls = 0;
    int failAt = 0;

    LONG RegOpenKeyExA(HKEY k, const char* s, DWORD o, REGSAM a, HKEY* r) override { return Registry([&] { return real.RegOpenKeyExA(k, s, o, a, r); }); }
    LONG RegQueryValueExA(HKEY k, const char* n, DWORD* r, DWORD* t, BYTE* d, DWORD* s) override { return Registry([&] { return real.RegQueryValueExA(k, n, r, t, d, s); }); }
    LONG RegDeleteKeyExA(HKEY k, const char* s, REGSAM v, DWORD r) override { return Registry([&] { return real.RegDeleteKeyExA(k, s, v, r); }); }
    LONG RegCloseKey(HKEY k) override { return real.RegCloseKey(k); }
    BOOL CreateProcessA(const char* a, char* c, SECURITY_ATTRIBUTES* p, SECURITY_ATTRIBUTES* t, BOOL i, DWORD f, void* e, const char* d,
                        STARTUPINFOA* s, PROCESS_INFORMATION* n) override { return Pass(FALSE, [&] { return real.CreateProcessA(a, c, p, t, i, f, e, d, s, n); }); }
    DWORD WaitForSingleObject(HANDLE h, DWORD m) override { return Pass(WAIT_FAILED, [&] { return real.WaitForSingleObject(h, m); }); }
    BOOL TerminateProcess(HANDLE p, UINT c) override { return Pass(FALSE, [&] { return real.TerminateProcess(p, c); }); }
    BOOL GetExitCodeProcess(HANDLE p, DWORD* c) override { return Pass(FALSE, [&] { return real.GetExitCodeProcess(p, c); }); }
    BOOL CloseHandle(HANDLE h) override { return real.CloseHandle(h); }
    DWORD GetLastError() override { return real.GetLastError(); }
    UINT GetSystemDirectoryA(char* b, UINT s) override { return Pass(0u, [&] { return real.GetSystemDirectoryA(b, s); }); }
    UINT GetSystemWindowsDirectoryA(char* b, UINT s) override { return Pass(0u, [&] { return real.GetSystemWindowsDirectoryA(b, s); }); }
    DWORD GetFullPathNameA(const char* n, DWORD s, char* b, char** f) override { return Pass(0ul, [&] { return real.GetFullPathNameA(n, s, b, f); }); }
    HANDLE CreateFileA(const char* p, DWORD a, DWORD s, SECURITY_ATTRIBUTES* c, DWORD d, DWORD f, HANDLE t) override { return Pass(INVALID_HANDLE_VALUE, [&] { return real.CreateFileA(p, a, s, c, d, f, t); }); }
    DWORD GetFinalPathNameByHandleA(HANDLE h, char* b, DWORD s, DWORD f) override { return Pass(0ul, [&] { return real.GetFinalPathNameByHandleA(h, b, s, f); }); }
    HANDLE FindFirstFileA(const char* p, WIN32_FIND_DATAA* d) override { return Pass(INVALID_HANDLE_VALUE, [&] { return real.FindFirstFileA(p, d); }); }
    BOOL FindNextFileA(HANDLE h, WIN32_FIND_DATAA* d) override { return Pass(FALSE, [&] { return real.FindNextFileA(h, d); }); }
    BOOL FindClose(HANDLE h) override { return real.FindClose(h); }
    BOOL DeleteFileA(const char* p) override { return Pass(FALSE, [&] { return real.DeleteFileA(p); }); }
    BOOL PathAppendA(char* p, const char* m) override { return Pass(FALSE, [&] { return real.PathAppendA(p, m); }); }
    BOOL PathRemoveFileSpecA(char* p) override { return Pass(FALSE, [&] { return real.PathRemoveFileSpecA(p); }); }
    BOOL PathFileExistsA(const char* p) override { return Pass(FALSE, [&] { return real.PathFileExistsA(p); }); }

private:
    Platform& real = Win32Platform();
    ScopedPlatform scope{*this};

    template <class Result, class Call> Result Pass(Result failure, Call call)
    {
        if (++calls != failAt)
            return call();
        SetLastError(ERROR_ACCESS_DENIED);
        return failure;
    }
    template <class Call> LONG Registry(Call call) { return Pass(LONG(ERROR_ACCESS_DENIED), call); }
};

DWORD OpenHandles()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

} // namespace

TEST(Removal, EachScenarioLeavesWhatItMustAndLogsItInOrder)
{
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.what);
        TestFolder folder("Quarnel 2 install");
        std::vector<HANDLE> held;
        for (std::string name : scenario.files) {
            const char mark = name[0];
            name.erase(0, mark == '!' || mark == '~');
            folder.Add(name, mark == '!' ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
            if (mark == '~')
                held.push_back(CreateFileA(folder.PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        WriteUninstallString("-f\"" + folder.PathOf("Uninst.log") + "\"");
        HKEY subkey = nullptr;
        if (scenario.entry == 2)
            RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2\\Sub", &subkey);
        RegCloseKey(subkey);
        if (scenario.entry == 0)
            RemoveProductKey();
        if (*scenario.environment)
            _putenv(scenario.environment);
        const StandInRecord record;

        CUninstaller uninstaller(folder.Path().c_str());
        const DWORD started = GetTickCount();
        EXPECT_EQ(uninstaller.Execute(), scenario.result);
        const DWORD took = GetTickCount() - started;
        for (const char* unset : {"MORVANE_PELLOX_EXIT=", "MORVANE_DRAVETH_EXIT=", "MORVANE_DRAVETH_MS="})
            _putenv(unset);
        for (HANDLE file : held)
            CloseHandle(file);

        EXPECT_EQ(LogLines(uninstaller), scenario.log);
        EXPECT_EQ(folder.Names(), scenario.left);
        EXPECT_EQ(ProductKeyExists(), scenario.entry == 2);
        // A tool that does not end is waited for 5 s, then ended.
        EXPECT_TRUE(std::string(scenario.environment) != "MORVANE_DRAVETH_MS=20000" || (took >= 5000 && took < 15000)) << took;
        Lines calls;
        if (Has(scenario.files, "Pellox.dll"))
            calls.push_back(InfoTipCall(folder));
        if (Has(scenario.files, "Draveth.exe"))
            calls.push_back(kToolCall);
        EXPECT_EQ(record.Calls(), calls);
    }
}

// A missing folder only loses its entry; one that is not an absolute path would send the steps to the
// current directory, so it touches nothing at all.
TEST(Removal, FoldersThatAreNotThere)
{
    const TestFolder current("Quarnel 2 current");
    current.Add("Pellox.dll");
    current.Add("a.txt");
    SetCurrentDirectoryA(current.Path().c_str());
    const std::pair<const char*, Lines> folders[] = {{"C:\\Quarnel2 missing", {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryDone}},
                                                     {"", {}}, {"sub", {}}, {"C:sub", {}}, {"\\sub", {}}};
    for (const auto& [folder, log] : folders) {
        WriteUninstallString("-fUninst.log");
        CUninstaller uninstaller(folder);
        EXPECT_FALSE(uninstaller.Execute()) << folder;
        EXPECT_EQ(LogLines(uninstaller), log) << folder;
        EXPECT_EQ(ProductKeyExists(), log.empty()) << folder;
    }
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(current.Names(), (Lines{"Pellox.dll", "a.txt"}));
}

// As a full disk, a locked file or a denied access would make them fail: no handle is left open,
// the preserved file and the subfolder stay, and every line and the result tell the truth.
TEST(Faults, EveryFailingCallLeavesNoHandleKeepsWhatMustStayAndTellsTheTruth)
{
    FailingPlatform platform;
    int total = 0;  // the calls of a run in which none fails
    for (int failAt = 0; failAt <= total; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        // A folder of its own each time: a child left running by a failed wait may still hold the last.
        TestFolder folder("Quarnel 2 faults " + std::to_string(failAt));
        for (const char* name : {"Pellox.dll", "Draveth.exe", "a.txt", "Tamsel.dat", "Sub\\", "Sub\\Keep.txt"})
            folder.Add(name);
        WriteUninstallString("-f\"" + folder.PathOf("Uninst.log") + "\"");
        const StandInRecord record;
        const DWORD handles = OpenHandles();

        platform.calls = 0;
        platform.failAt = failAt;
        std::string found;
        const bool located = LocateInstallFolder(found);
        CUninstaller uninstaller(found.c_str());
        const bool result = located && uninstaller.Execute();
        platform.failAt = 0;
        if (failAt == 0)
            total = platform.calls;

        EXPECT_TRUE(result || failAt > 0);
        EXPECT_EQ(OpenHandles(), handles);
        const Lines log = LogLines(uninstaller), left = folder.Names();
        for (const std::string name : {"Pellox.dll", "Draveth.exe", "a.txt"}) {
            EXPECT_EQ(Has(log, Deleted(name)), !Has(left, name)) << name;
            EXPECT_TRUE(!Has(left, name) || !result) << name;
        }
        EXPECT_EQ(Has(log, kEntryDone), !ProductKeyExists());
        EXPECT_TRUE(!ProductKeyExists() || !result);
        // A step that says it unregistered ran its child, by its full path: without the system folder
        // no "rundll32.exe" is started by name, to be found wherever Windows looks first.
        EXPECT_TRUE(!Has(log, kInfoTipDone) || Has(record.Calls(), InfoTipCall(folder)));
        EXPECT_TRUE(!Has(log, kToolDone) || Has(record.Calls(), kToolCall));
        EXPECT_TRUE(Has(left, "Tamsel.dat") && Has(left, "Sub\\Keep.txt"));
    }
}
