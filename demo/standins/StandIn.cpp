#include "StandIn.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

bool ReadNumberVariable(const char* name, long long* value)
{
    char text[64];
    const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    if (length == 0 || length >= sizeof text)
        return false;
    char* end = nullptr;
    *value = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

void WriteCallRecord(const char* component)
{
    char path[MAX_PATH];
    const DWORD pathLength = GetEnvironmentVariableA(STANDIN_RECORD_VARIABLE, path, sizeof path);
    if (pathLength == 0 || pathLength >= sizeof path)
        return;

    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);

    // Measured first, then written: a command line has no length limit worth guessing.
    static const char kFormat[] = "%s\t%lu\t%s\t%s\t%lu\t%u\n";
    const char* commandLine = GetCommandLineA();
    const int size = std::snprintf(nullptr, 0, kFormat, component, GetCurrentProcessId(), commandLine, directory,
                                   startup.dwFlags, startup.wShowWindow);
    std::string line(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(&line[0], line.size(), kFormat, component, GetCurrentProcessId(), commandLine, directory,
                  startup.dwFlags, startup.wShowWindow);
    line.resize(static_cast<std::size_t>(size));

    // Appended in one write, so that the lines of successive calls never mix.
    const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void SleepAsTold(const char* variable)
{
    long long milliseconds = 0;
    if (ReadNumberVariable(variable, &milliseconds) && milliseconds > 0)
        Sleep(static_cast<DWORD>(milliseconds));
}
