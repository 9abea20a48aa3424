#include "tests/engine/PlatformDouble.h"

#include <cstdio>

namespace {

Platform& Real()
{
    return Win32Platform();
}

std::string Hex(unsigned long value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

std::string Number(unsigned long value)
{
    return std::to_string(value);
}

} // namespace

std::string Quoted(const char* text)
{
    return text ? "\"" + std::string(text) + "\"" : "null";
}

PlatformDouble::PlatformDouble() : m_scope(*this) {}

PlatformDouble::~PlatformDouble() = default;

void PlatformDouble::Fail(const std::string& function, int occurrence, DWORD error)
{
    m_failures.insert({function, Failure{occurrence, error}});
}

std::vector<std::string> PlatformDouble::CallsTo(const std::string& function) const
{
    std::vector<std::string> calls;
    for (const std::string& call : m_calls) {
        if (call.compare(0, function.size() + 1, function + "(") == 0)
            calls.push_back(call);
    }
    return calls;
}

int PlatformDouble::CountOf(const std::string& function) const
{
    return static_cast<int>(CallsTo(function).size());
}

std::vector<std::string> PlatformDouble::OpenHandles() const
{
    return std::vector<std::string>(m_open.begin(), m_open.end());
}

std::string PlatformDouble::NameOf(const void* handle) const
{
    if (handle == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (handle == HKEY_CURRENT_USER)
        return "HKCU";
    if (handle == INVALID_HANDLE_VALUE)
        return "INVALID_HANDLE_VALUE";
    if (handle == nullptr)
        return "null";
    const auto found = m_names.find(handle);
    return found != m_names.end() ? found->second : Hex(reinterpret_cast<unsigned long>(handle));
}

bool PlatformDouble::ShouldFail(const std::string& function, DWORD* error)
{
    const int count = ++m_callCounts[function];
    const auto range = m_failures.equal_range(function);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.occurrence == 0 || it->second.occurrence == count) {
            *error = it->second.error;
            m_lastError = *error;
            return true;
        }
    }
    return false;
}

std::string PlatformDouble::Opened(const void* handle, const char* prefix)
{
    const std::string name = prefix + std::to_string(++m_opened[prefix]);
    m_names[handle] = name;
    m_open.insert(name);
    return name;
}

std::string PlatformDouble::Closed(const void* handle)
{
    const std::string name = NameOf(handle);
    m_open.erase(name);
    return name;
}

LONG PlatformDouble::RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result)
{
    std::string line = "RegOpenKeyExA(" + NameOf(key) + ", " + Quoted(subKey) + ", " + Number(options) + ", " +
                       Hex(access) + ")";
    DWORD error;
    LONG status;
    if (ShouldFail("RegOpenKeyExA", &error)) {
        status = static_cast<LONG>(error);
    } else {
        status = Real().RegOpenKeyExA(key, subKey, options, access, result);
    }
    line += " = " + Number(static_cast<unsigned long>(status));
    if (status == ERROR_SUCCESS)
        line += " -> " + Opened(*result, "k");
    Record(line);
    return status;
}

LONG PlatformDouble::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                      DWORD* dataSize)
{
    std::string line = "RegQueryValueExA(" + NameOf(key) + ", " + Quoted(valueName) + ", size " +
                       (dataSize ? Number(*dataSize) : std::string("null")) + ")";
    DWORD error;
    LONG status;
    if (ShouldFail("RegQueryValueExA", &error)) {
        status = static_cast<LONG>(error);
    } else {
        status = Real().RegQueryValueExA(key, valueName, reserved, type, data, dataSize);
    }
    Record(line + " = " + Number(static_cast<unsigned long>(status)));
    return status;
}

LONG PlatformDouble::RegDeleteKeyExA(HKEY key, const char* subKey, REGSAM view, DWORD reserved)
{
    std::string line = "RegDeleteKeyExA(" + NameOf(key) + ", " + Quoted(subKey) + ", " + Hex(view) + ", " +
                       Number(reserved) + ")";
    DWORD error;
    LONG status;
    if (ShouldFail("RegDeleteKeyExA", &error)) {
        status = static_cast<LONG>(error);
    } else {
        status = Real().RegDeleteKeyExA(key, subKey, view, reserved);
    }
    Record(line + " = " + Number(static_cast<unsigned long>(status)));
    return status;
}

LONG PlatformDouble::RegCloseKey(HKEY key)
{
    const std::string name = Closed(key);
    DWORD error;
    LONG status;
    if (ShouldFail("RegCloseKey", &error)) {
        status = static_cast<LONG>(error);
    } else {
        status = Real().RegCloseKey(key);
    }
    Record("RegCloseKey(" + name + ") = " + Number(static_cast<unsigned long>(status)));
    return status;
}

BOOL PlatformDouble::CreateProcessA(const char* applicationName, char* commandLine,
                                    SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                                    BOOL inheritHandles, DWORD creationFlags, void* environment,
                                    const char* currentDirectory, STARTUPINFOA* startupInfo,
                                    PROCESS_INFORMATION* processInformation)
{
    m_lastLaunch = ProcessLaunch();
    m_lastLaunch.applicationNameNull = applicationName == nullptr;
    m_lastLaunch.applicationName = applicationName ? applicationName : "";
    m_lastLaunch.commandLineNull = commandLine == nullptr;
    m_lastLaunch.commandLine = commandLine ? commandLine : "";
    m_lastLaunch.processAttributesNull = processAttributes == nullptr;
    m_lastLaunch.threadAttributesNull = threadAttributes == nullptr;
    m_lastLaunch.inheritHandles = inheritHandles;
    m_lastLaunch.creationFlags = creationFlags;
    m_lastLaunch.environmentNull = environment == nullptr;
    m_lastLaunch.currentDirectoryNull = currentDirectory == nullptr;
    if (startupInfo)
        m_lastLaunch.startupInfo = *startupInfo;

    std::string line = "CreateProcessA(" + Quoted(applicationName) + ", " + Quoted(commandLine) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("CreateProcessA", &error)) {
        ok = FALSE;
    } else {
        ok = Real().CreateProcessA(applicationName, commandLine, processAttributes, threadAttributes,
                                   inheritHandles, creationFlags, environment, currentDirectory, startupInfo,
                                   processInformation);
        KeepLastError();
    }
    line += " = " + Number(ok);
    if (ok) {
        line += " -> " + Opened(processInformation->hProcess, "p");
        line += " " + Opened(processInformation->hThread, "t");
    }
    Record(line);
    return ok;
}

DWORD PlatformDouble::WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    std::string line = "WaitForSingleObject(" + NameOf(handle) + ", " + Number(milliseconds) + ")";
    DWORD error;
    DWORD result;
    if (ShouldFail("WaitForSingleObject", &error)) {
        result = WAIT_FAILED;
    } else {
        result = Real().WaitForSingleObject(handle, milliseconds);
        KeepLastError();
    }
    Record(line + " = " + Number(result));
    return result;
}

BOOL PlatformDouble::TerminateProcess(HANDLE process, UINT exitCode)
{
    std::string line = "TerminateProcess(" + NameOf(process) + ", " + Hex(exitCode) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("TerminateProcess", &error)) {
        ok = FALSE;
    } else {
        ok = Real().TerminateProcess(process, exitCode);
        KeepLastError();
    }
    Record(line + " = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::GetExitCodeProcess(HANDLE process, DWORD* exitCode)
{
    std::string line = "GetExitCodeProcess(" + NameOf(process) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("GetExitCodeProcess", &error)) {
        ok = FALSE;
    } else {
        ok = Real().GetExitCodeProcess(process, exitCode);
        KeepLastError();
    }
    line += " = " + Number(ok);
    if (ok)
        line += " -> " + Hex(*exitCode);
    Record(line);
    return ok;
}

BOOL PlatformDouble::CloseHandle(HANDLE handle)
{
    const std::string name = Closed(handle);
    DWORD error;
    BOOL ok;
    if (ShouldFail("CloseHandle", &error)) {
        ok = FALSE;
    } else {
        ok = Real().CloseHandle(handle);
        KeepLastError();
    }
    Record("CloseHandle(" + name + ") = " + Number(ok));
    return ok;
}

DWORD PlatformDouble::GetLastError()
{
    return m_lastError;
}

UINT PlatformDouble::GetSystemDirectoryA(char* buffer, UINT size)
{
    std::string line = "GetSystemDirectoryA(" + Number(size) + ")";
    DWORD error;
    UINT length;
    if (ShouldFail("GetSystemDirectoryA", &error)) {
        length = 0;
    } else {
        length = Real().GetSystemDirectoryA(buffer, size);
        KeepLastError();
    }
    Record(line + " = " + Number(length));
    return length;
}

UINT PlatformDouble::GetWindowsDirectoryA(char* buffer, UINT size)
{
    std::string line = "GetWindowsDirectoryA(" + Number(size) + ")";
    DWORD error;
    UINT length;
    if (ShouldFail("GetWindowsDirectoryA", &error)) {
        length = 0;
    } else {
        length = Real().GetWindowsDirectoryA(buffer, size);
        KeepLastError();
    }
    Record(line + " = " + Number(length));
    return length;
}

DWORD PlatformDouble::GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart)
{
    std::string line = "GetFullPathNameA(" + Quoted(fileName) + ", " + Number(size) + ")";
    DWORD error;
    DWORD length;
    if (ShouldFail("GetFullPathNameA", &error)) {
        length = 0;
    } else {
        length = Real().GetFullPathNameA(fileName, size, buffer, filePart);
        KeepLastError();
    }
    Record(line + " = " + Number(length));
    return length;
}

HANDLE PlatformDouble::FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data)
{
    std::string line = "FindFirstFileA(" + Quoted(pattern) + ")";
    DWORD error;
    HANDLE search;
    if (ShouldFail("FindFirstFileA", &error)) {
        search = INVALID_HANDLE_VALUE;
    } else {
        search = Real().FindFirstFileA(pattern, data);
        KeepLastError();
    }
    if (search == INVALID_HANDLE_VALUE)
        line += " = INVALID_HANDLE_VALUE";
    else
        line += " = " + Opened(search, "f") + " " + Quoted(data->cFileName);
    Record(line);
    return search;
}

BOOL PlatformDouble::FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data)
{
    std::string line = "FindNextFileA(" + NameOf(search) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("FindNextFileA", &error)) {
        ok = FALSE;
    } else {
        ok = Real().FindNextFileA(search, data);
        KeepLastError();
    }
    line += " = " + Number(ok);
    if (ok)
        line += " " + Quoted(data->cFileName);
    Record(line);
    return ok;
}

BOOL PlatformDouble::FindClose(HANDLE search)
{
    const std::string name = Closed(search);
    DWORD error;
    BOOL ok;
    if (ShouldFail("FindClose", &error)) {
        ok = FALSE;
    } else {
        ok = Real().FindClose(search);
        KeepLastError();
    }
    Record("FindClose(" + name + ") = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::DeleteFileA(const char* path)
{
    std::string line = "DeleteFileA(" + Quoted(path) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("DeleteFileA", &error)) {
        ok = FALSE;
    } else {
        ok = Real().DeleteFileA(path);
        KeepLastError();
    }
    Record(line + " = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::PathAppendA(char* path, const char* more)
{
    std::string line = "PathAppendA(" + Quoted(path) + ", " + Quoted(more) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("PathAppendA", &error)) {
        ok = FALSE;
    } else {
        ok = Real().PathAppendA(path, more);
        KeepLastError();
    }
    Record(line + " = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::PathRemoveFileSpecA(char* path)
{
    std::string line = "PathRemoveFileSpecA(" + Quoted(path) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("PathRemoveFileSpecA", &error)) {
        ok = FALSE;
    } else {
        ok = Real().PathRemoveFileSpecA(path);
        KeepLastError();
    }
    Record(line + " = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::PathFileExistsA(const char* path)
{
    std::string line = "PathFileExistsA(" + Quoted(path) + ")";
    DWORD error;
    BOOL ok;
    if (ShouldFail("PathFileExistsA", &error)) {
        ok = FALSE;
    } else {
        ok = Real().PathFileExistsA(path);
        KeepLastError();
    }
    Record(line + " = " + Number(ok));
    return ok;
}

char* PlatformDouble::PathFindFileNameA(const char* path)
{
    // Cannot fail: it only points into its argument.
    DWORD error;
    ShouldFail("PathFindFileNameA", &error);
    char* name = Real().PathFindFileNameA(path);
    Record("PathFindFileNameA(" + Quoted(path) + ") = " + Quoted(name));
    return name;
}
