#include "platform/Platform.h"

#include <shlwapi.h>

namespace {

class RealPlatform final : public Platform {
public:
    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) override
    {
        return ::RegOpenKeyExA(key, subKey, options, access, result);
    }
    LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* dataSize) override
    {
        return ::RegQueryValueExA(key, valueName, reserved, type, data, dataSize);
    }
    LONG RegDeleteKeyExA(HKEY key, const char* subKey, REGSAM view, DWORD reserved) override
    {
        return ::RegDeleteKeyExA(key, subKey, view, reserved);
    }
    LONG RegCloseKey(HKEY key) override { return ::RegCloseKey(key); }

    BOOL CreateProcessA(const char* applicationName, char* commandLine, SECURITY_ATTRIBUTES* processAttributes,
                        SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        void* environment, const char* currentDirectory, STARTUPINFOA* startupInfo,
                        PROCESS_INFORMATION* processInformation) override
    {
        return ::CreateProcessA(applicationName, commandLine, processAttributes, threadAttributes, inheritHandles,
                                creationFlags, environment, currentDirectory, startupInfo, processInformation);
    }
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override
    {
        return ::WaitForSingleObject(handle, milliseconds);
    }
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override { return ::TerminateProcess(process, exitCode); }
    BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) override
    {
        return ::GetExitCodeProcess(process, exitCode);
    }
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }
    DWORD GetLastError() override { return ::GetLastError(); }
    UINT GetSystemDirectoryA(char* buffer, UINT size) override { return ::GetSystemDirectoryA(buffer, size); }
    UINT GetSystemWindowsDirectoryA(char* buffer, UINT size) override
    {
        return ::GetSystemWindowsDirectoryA(buffer, size);
    }
    DWORD GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart) override
    {
        return ::GetFullPathNameA(fileName, size, buffer, filePart);
    }

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override
    {
        return ::CreateFileA(path, access, shareMode, security, disposition, flags, templateFile);
    }
    DWORD GetFinalPathNameByHandleA(HANDLE file, char* buffer, DWORD size, DWORD flags) override
    {
        return ::GetFinalPathNameByHandleA(file, buffer, size, flags);
    }
    BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) override
    {
        return ::GetFileInformationByHandle(file, information);
    }
    HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data) override
    {
        return ::FindFirstFileA(pattern, data);
    }
    BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) override { return ::FindNextFileA(search, data); }
    BOOL FindClose(HANDLE search) override { return ::FindClose(search); }
    BOOL DeleteFileA(const char* path) override { return ::DeleteFileA(path); }

    BOOL PathRemoveFileSpecA(char* path) override { return ::PathRemoveFileSpecA(path); }
    BOOL PathFileExistsA(const char* path) override { return ::PathFileExistsA(path); }
};

RealPlatform g_realPlatform;
Platform* g_currentPlatform = &g_realPlatform;

} // namespace

Platform& CurrentPlatform()
{
    return *g_currentPlatform;
}

Platform& Win32Platform()
{
    return g_realPlatform;
}

ScopedPlatform::ScopedPlatform(Platform& replacement) : m_previous(g_currentPlatform)
{
    g_currentPlatform = &replacement;
}

ScopedPlatform::~ScopedPlatform()
{
    g_currentPlatform = m_previous;
}
