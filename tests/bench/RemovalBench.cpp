// Benchmark of the file removal step: DeleteInstalledFiles against "cmd /c del /q" on the same
// number of plain files, in the same run and the same Wine prefix. Prints a table; judges nothing.
//
// Usage: removal_bench [N...]      (default: 1000 10000 50000)

#include "engine/Uninstaller.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int kRuns = 3;

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
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

// A fresh folder holding count empty plain files.
bool Fill(const std::string& folder, int count)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    if (CountFiles(folder) != 0) {
        std::fprintf(stderr, "%s is not empty\n", folder.c_str());
        return false;
    }
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\file%06d.dat", i);
        const HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot create %s%s: %lu\n", folder.c_str(), name, GetLastError());
            return false;
        }
        CloseHandle(file);
    }
    return true;
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

// Runs a command line through cmd and waits for it; the time includes starting cmd.
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
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 10000, 50000};

    const std::string engineFolder = TempFolder("bench-engine");
    const std::string delFolder = TempFolder("bench-del");

    std::vector<double> startups;
    for (int run = 0; run < kRuns; ++run) {
        double seconds = 0;
        TimeCommand("rem", &seconds);
        startups.push_back(seconds);
    }
    std::printf("DeleteInstalledFiles against \"cmd /c del /q\", median of %d runs each; starting cmd alone "
                "takes %.3f s (included in the del times).\n\n",
                kRuns, Median(startups));
    std::printf("| files | DeleteInstalledFiles (s) | cmd /c del /q (s) | ratio | engine us/file | del us/file |\n");
    std::printf("|------:|-------------------------:|------------------:|------:|---------------:|------------:|\n");
    std::fflush(stdout);

    for (int count : sizes) {
        std::vector<double> engineTimes, delTimes;
        for (int run = 0; run < kRuns; ++run) {
            // The two methods take turns going first, so that neither always meets a warmer cache.
            for (int turn = 0; turn < 2; ++turn) {
                const bool engine = (turn == 0) == (run % 2 == 0);
                const std::string& folder = engine ? engineFolder : delFolder;
                if (!Fill(folder, count))
                    return 1;
                double seconds = 0;
                const bool ok = engine ? TimeEngine(folder, &seconds)
                                       : TimeCommand("del /q \"" + folder + "\\*\"", &seconds);
                if (!ok || CountFiles(folder) != 0) {
                    std::fprintf(stderr, "%s left files behind in %s\n", engine ? "DeleteInstalledFiles" : "del",
                                 folder.c_str());
                    return 1;
                }
                (engine ? engineTimes : delTimes).push_back(seconds);
            }
        }
        const double engineSeconds = Median(engineTimes);
        const double delSeconds = Median(delTimes);
        std::printf("| %5d | %24.3f | %17.3f | %5.2f | %14.1f | %11.1f |\n", count, engineSeconds, delSeconds,
                    engineSeconds / delSeconds, engineSeconds * 1e6 / count, delSeconds * 1e6 / count);
        std::fflush(stdout);
    }
    RemoveDirectoryA(engineFolder.c_str());
    RemoveDirectoryA(delFolder.c_str());
    return 0;
}
