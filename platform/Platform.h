#pragma once

// The only door from the uninstall engine to Windows. Each member has the name, arguments and
// result of the Windows function it stands for, so the engine reads like plain Win32 code, while
// tests can put a double in its place to make any one of them fail.

#include <windows.h>

class Platform {
public:
    virtual ~Platform() = default;

    // Registry (advapi32)
    virtual LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) = 0;
    virtual LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type,
                                  BYTE* data, DWORD* dataSize) = 0;
    virtual LONG RegDeleteKeyExA(HKEY key, const char* subKey, REGSAM view, DWORD reserved) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;

    // Processes (kernel32)
    virtual BOOL CreateProcessA(const char* applicationName, char* commandLine,
                                SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                                BOOL inheritHandles, DWORD creationFlags, void* environment,
                                const char* currentDirectory, STARTUPINFOA* startupInfo,
                                PROCESS_INFORMATION* processInformation) = 0;
    virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
    virtual BOOL TerminateProcess(HANDLE process, UINT exitCode) = 0;
    virtual BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual DWORD GetLastError() = 0;
    virtual UINT GetSystemDirectoryA(char* buffer, UINT size) = 0;
    virtual UINT GetSystemWindowsDirectoryA(char* buffer, UINT size) = 0;
    virtual DWORD GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart) = 0;

    // Files and folders (kernel32)
    virtual HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) = 0;
    virtual DWORD GetFinalPathNameByHandleA(HANDLE file, char* buffer, DWORD size, DWORD flags) = 0;
    virtual BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) = 0;
    virtual HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data) = 0;
    virtual BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) = 0;
    virtual BOOL FindClose(HANDLE search) = 0;
    virtual BOOL DeleteFileA(const char* path) = 0;

    // Shell path functions (shlwapi)
    virtual BOOL PathRemoveFileSpecA(char* path) = 0;
    virtual BOOL PathFileExistsA(const char* path) = 0;
};

// The platform the engine calls: the real Windows one unless a test has put another in its place.
Platform& CurrentPlatform();

// The real Windows platform, for a double that passes calls through.
Platform& Win32Platform();

// Puts another platform in place of the current one for the lifetime of this object (tests only).
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& replacement);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* m_previous;
};
