// One timed deletion for scripts/bench, which fills the folder beforehand from the Linux side of
// the Wine prefix (creating a file under Wine costs a scan of the whole folder, so filling 50,000
// files from inside would take many minutes) and turns the figures into a table.
//
// Usage: removal_bench engine FOLDER   DeleteInstalledFiles on the folder
//        removal_bench del FOLDER      cmd /c del /q "FOLDER\*", including the start of cmd
//        removal_bench cmd             cmd /c rem: what starting cmd alone costs
// Prints the seconds taken; exits with 1 when files are left behind or the run fails.

#include "engine/Uninstaller.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int CountFiles(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}

bool TimeEngine(const std::string& folder, double* seconds)
{
    CUninstaller uninstaller(folder.c_str());
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const bool deleted = uninstaller.DeleteInstalledFiles();
    QueryPerformanceCounter(&end);
    *seconds = Seconds(start, end);
    return deleted;
}

// Runs a command through cmd and waits for it to end.
bool TimeCommand(const std::string& command, double* seconds)
{
    std::string commandLine = "cmd.exe /c " + command;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s: %lu\n", commandLine.c_str(), GetLastError());
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    *seconds = Seconds(start, end);
    return exitCode == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool engine = argc == 3 && std::strcmp(argv[1], "engine") == 0;
    const bool del = argc == 3 && std::strcmp(argv[1], "del") == 0;
    const bool cmd = argc == 2 && std::strcmp(argv[1], "cmd") == 0;
    if (!engine && !del && !cmd) {
        std::fprintf(stderr, "usage: removal_bench engine FOLDER | del FOLDER | cmd\n");
        return 2;
    }

    double seconds = 0;
    if (cmd) {
        if (!TimeCommand("rem", &seconds))
            return 1;
    } else {
        const std::string folder = argv[2];
        const bool ok = engine ? TimeEngine(folder, &seconds) : TimeCommand("del /q \"" + folder + "\\*\"", &seconds);
        const int left = CountFiles(folder);
        if (!ok || left != 0) {
            std::fprintf(stderr, "%s: %d files left in %s\n", argv[1], left, folder.c_str());
            return 1;
        }
    }
    std::printf("%.6f\n", seconds);
    return 0;
}
