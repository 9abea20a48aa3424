// One timed deletion for scripts/bench, which fills the folder from the Linux side beforehand
// (creating a file under Wine scans the whole folder) and turns the figures into a table.
// Usage: removal_bench engine FOLDER   the file step, DeleteInstalledFiles
//        removal_bench del FOLDER      cmd /c del /q "FOLDER\*", including the start of cmd
//        removal_bench cmd             cmd /c rem: what starting cmd alone costs
// Prints the seconds taken; exits with 1 when a file is left behind or the run fails.
#include "engine/Uninstaller.h"

#include <windows.h>

#include <cstdio>
#include <string>

static double Now()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

static bool RunCmd(std::string commandLine)
{
    commandLine = "cmd.exe /c " + commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0;
}

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "", folder = argc == 3 ? argv[2] : "";
    if (!(argc == 3 && (what == "engine" || what == "del")) && !(argc == 2 && what == "cmd")) {
        std::fprintf(stderr, "usage: removal_bench engine FOLDER | del FOLDER | cmd\n");
        return 2;
    }
    CUninstaller uninstaller(folder.c_str());
    const double start = Now();
    bool ok = what == "engine" ? uninstaller.DeleteInstalledFiles()
                               : RunCmd(what == "del" ? "del /q \"" + folder + "\\*\"" : "rem");
    const double seconds = Now() - start;
    WIN32_FIND_DATAA entry;  // every plain file must be gone
    const HANDLE search = folder.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA((folder + "\\*").c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
        ok = ok && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    if (!ok) {
        std::fprintf(stderr, "%s %s failed or left files\n", argv[1], folder.c_str());
        return 1;
    }
    std::printf("%.6f\n", seconds);
    return 0;
}
