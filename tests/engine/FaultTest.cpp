// A whole removal (finding the folder, then the four steps) with each of its Windows calls failing
// in turn, as a full disk, a locked file or a denied access would make it: no handle is left open,
// the preserved file and the subfolder stay, and every line and the result tell the truth.
#include "engine/Uninstaller.h"
#include "platform/Platform.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

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

bool Has(const Lines& lines, const std::string& line)
{
    return std::count(lines.begin(), lines.end(), line) > 0;
}

} // namespace

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
            EXPECT_EQ(Has(log, "ファイル'" + name + "'は削除されました。"), !Has(left, name)) << name;
            EXPECT_TRUE(!Has(left, name) || !result) << name;
        }
        EXPECT_EQ(Has(log, "アンインストール情報レジストリエントリは削除されました。"), !ProductKeyExists());
        EXPECT_TRUE(!ProductKeyExists() || !result);
        // A step that says it unregistered ran its child, by its full path: without the system folder
        // no "rundll32.exe" is started by name, to be found wherever Windows looks first.
        const std::string rundll32 = "Pellox.dll\tC:\\windows\\system32\\rundll32.exe \"" + folder.PathOf("Pellox.dll") + "\",DllUnregisterServer\thidden";
        EXPECT_TRUE(!Has(log, "InfoTipの登録が解除されました。") || Has(record.Calls(), rundll32));
        EXPECT_TRUE(!Has(log, "Dravethの登録が解除されました。") || Has(record.Calls(), "Draveth.exe\t/Uninstall\thidden"));
        EXPECT_TRUE(Has(left, "Tamsel.dat") && Has(left, "Sub\\Keep.txt"));
    }
}
