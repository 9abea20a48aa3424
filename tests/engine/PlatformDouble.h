#pragma once

// A test double of the platform layer. By default it passes every call through to the real Windows
// platform (so it runs against Wine's registry, files and processes) and records it as one line of
// text, with handles named by the order they were opened in: "RegOpenKeyExA(HKLM, \"SOFTWARE\",
// 0, 0x20019) = 0 -> k1". It can make chosen calls fail instead, tracks which handles are still
// open, and keeps the full arguments of every CreateProcessA call. Tests that need a scripted
// world (a directory search returning entries in a given order, a child that never existed)
// derive from it and override single members, calling Record for their own lines.

#include "platform/Platform.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class PlatformDouble : public Platform {
public:
    // Installs itself as the current platform for its lifetime.
    PlatformDouble();
    ~PlatformDouble() override;

    // Makes the occurrence-th call (1-based; 0 means every call) of the named member fail with
    // the given Windows error code, without reaching Windows. Registry members return the code;
    // the others return their failure value (FALSE, INVALID_HANDLE_VALUE, WAIT_FAILED or 0) and
    // leave the code as the last error.
    void Fail(const std::string& function, int occurrence = 0, DWORD error = ERROR_ACCESS_DENIED);

    // Every recorded call, in order; or only those of one member.
    const std::vector<std::string>& Calls() const { return m_calls; }
    std::vector<std::string> CallsTo(const std::string& function) const;
    int CountOf(const std::string& function) const;

    // Names of the handles opened through this double and not yet closed ("k1", "p1", "f1").
    std::vector<std::string> OpenHandles() const;

    // The arguments of the last CreateProcessA call.
    struct ProcessLaunch {
        bool applicationNameNull = true;
        std::string applicationName;
        bool commandLineNull = true;
        std::string commandLine;
        bool processAttributesNull = true;
        bool threadAttributesNull = true;
        BOOL inheritHandles = FALSE;
        DWORD creationFlags = 0;
        bool environmentNull = true;
        bool currentDirectoryNull = true;
        STARTUPINFOA startupInfo = {};
    };
    const ProcessLaunch& LastLaunch() const { return m_lastLaunch; }

    // The name under which a handle is recorded ("HKLM" for the root, "k1"... for opened keys).
    std::string NameOf(const void* handle) const;

    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) override;
    LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* dataSize) override;
    LONG RegDeleteKeyExA(HKEY key, const char* subKey, REGSAM view, DWORD reserved) override;
    LONG RegCloseKey(HKEY key) override;

    BOOL CreateProcessA(const char* applicationName, char* commandLine, SECURITY_ATTRIBUTES* processAttributes,
                        SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        void* environment, const char* currentDirectory, STARTUPINFOA* startupInfo,
                        PROCESS_INFORMATION* processInformation) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override;
    BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override;
    BOOL CloseHandle(HANDLE handle) override;
    DWORD GetLastError() override;
    UINT GetSystemDirectoryA(char* buffer, UINT size) override;
    UINT GetWindowsDirectoryA(char* buffer, UINT size) override;
    DWORD GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart) override;

    HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data) override;
    BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) override;
    BOOL FindClose(HANDLE search) override;
    BOOL DeleteFileA(const char* path) override;

    BOOL PathAppendA(char* path, const char* more) override;
    BOOL PathRemoveFileSpecA(char* path) override;
    BOOL PathFileExistsA(const char* path) override;
    char* PathFindFileNameA(const char* path) override;

protected:
    // Counts the call and tells whether it is to fail; if so, sets the last error and the
    // error to return.
    bool ShouldFail(const std::string& function, DWORD* error);
    void Record(const std::string& line) { m_calls.push_back(line); }
    // Names a newly opened handle with the prefix ("k", "p", "t", "f") and marks it open.
    std::string Opened(const void* handle, const char* prefix);
    // Marks a handle closed and returns its name.
    std::string Closed(const void* handle);
    // Keeps the last error of a call passed through to Windows.
    void KeepLastError() { m_lastError = ::GetLastError(); }
    void SetError(DWORD error) { m_lastError = error; }

private:
    template <class Result, class Call> Result Forward(const char* function, Result failure, Call call);
    template <class Call> LONG ForwardRegistry(const char* function, Call call);

    ScopedPlatform m_scope;
    std::vector<std::string> m_calls;
    std::map<std::string, int> m_callCounts;
    struct Failure {
        int occurrence;
        DWORD error;
    };
    std::multimap<std::string, Failure> m_failures;
    std::map<const void*, std::string> m_names;
    std::set<std::string> m_open;
    std::map<std::string, int> m_opened;
    DWORD m_lastError = 0;
    ProcessLaunch m_lastLaunch;
};

// "\"text\"" or "null": how recorded lines show a text argument.
std::string Quoted(const char* text);
