#include "StandIn.h"

#include <windows.h>

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

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_HIDE;
    const std::string line = std::string(component) + "\t" + GetCommandLineA() + "\t" + (hidden ? "hidden" : "shown") + "\n";

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
