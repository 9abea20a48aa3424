#include "tests/engine/PlatformDouble.h"

#include <cstdint>
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
    return found != m_names.end() ? found->second : Hex(static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(handle)));
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

// Unless the call is to fail, passes it through to Windows and keeps the last error it left;
// a failing call returns the member's failure value.
template <class Result, class Call>
Result PlatformDouble::Forward(const char* function, Result failure, Call call)
{
    DWORD error;
    if (ShouldFail(function, &error))
        return failure;
    const Result result = call();
    KeepLastError();
    return result;
}

// The registry members fail by returning the error code itself.
template <class Call>
LONG PlatformDouble::ForwardRegistry(const char* function, Call call)
{
    DWORD error;
    return ShouldFail(function, &error) ? static_cast<LONG>(error) : call();
}

LONG PlatformDouble::RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result)
{
    std::string line = "RegOpenKeyExA(" + NameOf(key) + ", " + Quoted(subKey) + ", " + Number(options) + ", " +
                       Hex(access) + ")";
    const LONG status = ForwardRegistry(
        "RegOpenKeyExA", [&] { return Real().RegOpenKeyExA(key, subKey, options, access, result); });
    line += " = " + Number(static_cast<unsigned long>(status));
    if (status == ERROR_SUCCESS)
        line += " -> " + Opened(*result, "k");
    Record(line);
    return status;
}

LONG PlatformDouble::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                      DWORD* dataSize)
{
    const std::string line = "RegQueryValueExA(" + NameOf(key) + ", " + Quoted(valueName) + ", size " +
                             (dataSize ? Number(*dataSize) : std::string("null")) + ")";
    const LONG status = ForwardRegistry(
        "RegQueryValueExA", [&] { return Real().RegQueryValueExA(key, valueName, reserved, type, data, dataSize); });
    Record(line + " = " + Number(static_cast<unsigned long>(status)));
    return status;
}

LONG PlatformDouble::RegDeleteKeyExA(HKEY key, const char* subKey, REGSAM view, DWORD reserved)
{
    const LONG status =
        ForwardRegistry("RegDeleteKeyExA", [&] { return Real().RegDeleteKeyExA(key, subKey, view, reserved); });
    Record("RegDeleteKeyExA(" + NameOf(key) + ", " + Quoted(subKey) + ", " + Hex(view) + ", " + Number(reserved) +
           ") = " + Number(static_cast<unsigned long>(status)));
    return status;
}

LONG PlatformDouble::RegCloseKey(HKEY key)
{
    const std::string name = Closed(key);
    const LONG status = ForwardRegistry("RegCloseKey", [&] { return Real().RegCloseKey(key); });
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
    const BOOL ok = Forward("CreateProcessA", FALSE, [&] {
        return Real().CreateProcessA(applicationName, commandLine, processAttributes, threadAttributes,
                                     inheritHandles, creationFlags, environment, currentDirectory, startupInfo,
                                     processInformation);
    });
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
    const DWORD result = Forward("WaitForSingleObject", DWORD(WAIT_FAILED),
                                 [&] { return Real().WaitForSingleObject(handle, milliseconds); });
    Record("WaitForSingleObject(" + NameOf(handle) + ", " + Number(milliseconds) + ") = " + Number(result));
    return result;
}

BOOL PlatformDouble::TerminateProcess(HANDLE process, UINT exitCode)
{
    const BOOL ok = Forward("TerminateProcess", FALSE, [&] { return Real().TerminateProcess(process, exitCode); });
    Record("TerminateProcess(" + NameOf(process) + ", " + Hex(exitCode) + ") = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::GetExitCodeProcess(HANDLE process, DWORD* exitCode)
{
    const BOOL ok = Forward("GetExitCodeProcess", FALSE, [&] { return Real().GetExitCodeProcess(process, exitCode); });
    std::string line = "GetExitCodeProcess(" + NameOf(process) + ") = " + Number(ok);
    if (ok)
        line += " -> " + Hex(*exitCode);
    Record(line);
    return ok;
}

BOOL PlatformDouble::CloseHandle(HANDLE handle)
{
    const std::string name = Closed(handle);
    const BOOL ok = Forward("CloseHandle", FALSE, [&] { return Real().CloseHandle(handle); });
    Record("CloseHandle(" + name + ") = " + Number(ok));
    return ok;
}

DWORD PlatformDouble::GetLastError()
{
    return m_lastError;
}

UINT PlatformDouble::GetSystemDirectoryA(char* buffer, UINT size)
{
    const UINT length = Forward("GetSystemDirectoryA", 0u, [&] { return Real().GetSystemDirectoryA(buffer, size); });
    Record("GetSystemDirectoryA(" + Number(size) + ") = " + Number(length));
    return length;
}

UINT PlatformDouble::GetWindowsDirectoryA(char* buffer, UINT size)
{
    const UINT length = Forward("GetWindowsDirectoryA", 0u, [&] { return Real().GetWindowsDirectoryA(buffer, size); });
    Record("GetWindowsDirectoryA(" + Number(size) + ") = " + Number(length));
    return length;
}

DWORD PlatformDouble::GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart)
{
    const DWORD length = Forward("GetFullPathNameA", DWORD(0),
                                 [&] { return Real().GetFullPathNameA(fileName, size, buffer, filePart); });
    Record("GetFullPathNameA(" + Quoted(fileName) + ", " + Number(size) + ") = " + Number(length));
    return length;
}

HANDLE PlatformDouble::FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data)
{
    const HANDLE search =
        Forward("FindFirstFileA", INVALID_HANDLE_VALUE, [&] { return Real().FindFirstFileA(pattern, data); });
    std::string line = "FindFirstFileA(" + Quoted(pattern) + ") = ";
    if (search == INVALID_HANDLE_VALUE)
        line += "INVALID_HANDLE_VALUE";
    else
        line += Opened(search, "f") + " " + Quoted(data->cFileName);
    Record(line);
    return search;
}

BOOL PlatformDouble::FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data)
{
    const BOOL ok = Forward("FindNextFileA", FALSE, [&] { return Real().FindNextFileA(search, data); });
    std::string line = "FindNextFileA(" + NameOf(search) + ") = " + Number(ok);
    if (ok)
        line += " " + Quoted(data->cFileName);
    Record(line);
    return ok;
}

BOOL PlatformDouble::FindClose(HANDLE search)
{
    const std::string name = Closed(search);
    const BOOL ok = Forward("FindClose", FALSE, [&] { return Real().FindClose(search); });
    Record("FindClose(" + name + ") = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::DeleteFileA(const char* path)
{
    const BOOL ok = Forward("DeleteFileA", FALSE, [&] { return Real().DeleteFileA(path); });
    Record("DeleteFileA(" + Quoted(path) + ") = " + Number(ok));
    return ok;
}

// The path members change their buffer: their lines show it as it was handed over.
BOOL PlatformDouble::PathAppendA(char* path, const char* more)
{
    const std::string line = "PathAppendA(" + Quoted(path) + ", " + Quoted(more) + ")";
    const BOOL ok = Forward("PathAppendA", FALSE, [&] { return Real().PathAppendA(path, more); });
    Record(line + " = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::PathRemoveFileSpecA(char* path)
{
    const std::string line = "PathRemoveFileSpecA(" + Quoted(path) + ")";
    const BOOL ok = Forward("PathRemoveFileSpecA", FALSE, [&] { return Real().PathRemoveFileSpecA(path); });
    Record(line + " = " + Number(ok));
    return ok;
}

BOOL PlatformDouble::PathFileExistsA(const char* path)
{
    const BOOL ok = Forward("PathFileExistsA", FALSE, [&] { return Real().PathFileExistsA(path); });
    Record("PathFileExistsA(" + Quoted(path) + ") = " + Number(ok));
    return ok;
}

char* PlatformDouble::PathFindFileNameA(const char* path)
{
    // Cannot fail: it only points into its argument.
    char* name = Real().PathFindFileNameA(path);
    Record("PathFindFileNameA(" + Quoted(path) + ") = " + Quoted(name));
    return name;
}
