// The user interface's figures under Wine:
// 1. start-up: the time from starting a program to its dialog being shown, for Morvane.exe and for
//    a minimal dialog program of ours started the same way in the same run, and their ratio;
// 2. the log view: filling the log box with 10,000 lines with the main dialog's per-line sequence,
//    against a plain fill of one EM_REPLACESEL per line.
// Usage: ui_bench.exe [rounds]

#include "UiDriver.h"

#include "engine/Uninstaller.h"
#include "res/resource.h"
#include "ui/AppModule.h"
#include "ui/LogView.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Milliseconds from CreateProcess to the program's first visible dialog; -1 when none came.
double TimeToDialog(const std::string& program)
{
    ProgramRun run;
    const LARGE_INTEGER start = Now();
    if (!run.Start(program, "", ""))
        return -1;
    const HWND dialog = WaitForProcessDialog(run.ProcessId(), nullptr, 30000);
    const LARGE_INTEGER shown = Now();
    if (dialog == nullptr)
        return -1;
    PostCommand(dialog, IDCANCEL);
    run.WaitForExit();
    return Milliseconds(start, shown);
}

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The log box of a fresh, hidden main-dialog template, as the log view fills it.
struct HiddenLogBox {
    HiddenLogBox()
        : dialog(CreateDialogParamA(_Module.GetResourceInstance(), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                    PassiveDialogProc, 0)),
          log(GetDlgItem(dialog, IDC_LOG))
    {
    }
    ~HiddenLogBox() { DestroyWindow(dialog); }
    HWND dialog;
    HWND log;
};

void PlainFill(HWND log, const std::vector<std::string>& lines)
{
    SendMessageA(log, EM_SETLIMITTEXT, 0, 0);
    for (const std::string& line : lines)
        SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>((line + "\r\n").c_str()));
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string folder = BuildFolder();
    const std::string programs[] = {folder + "\\Morvane.exe", folder + "\\tests\\ui\\MinimalDialog.exe"};

    // Alternating the two programs spreads any drift of the machine over both.
    std::vector<double> times[2];
    TimeToDialog(programs[0]);  // the first start of a run also pays for Wine's own start-up
    for (int round = 0; round < rounds; ++round) {
        for (int which = 0; which < 2; ++which) {
            const double ms = TimeToDialog(programs[(round + which) % 2]);
            if (ms < 0) {
                std::printf("no dialog from %s\n", programs[(round + which) % 2].c_str());
                return 1;
            }
            times[(round + which) % 2].push_back(ms);
        }
    }
    const double morvane = Median(times[0]);
    const double minimal = Median(times[1]);
    std::printf("start to dialog shown, %d rounds (median, min, max in ms):\n", rounds);
    std::printf("  Morvane.exe        %8.1f %8.1f %8.1f\n", morvane, *std::min_element(times[0].begin(), times[0].end()),
                *std::max_element(times[0].begin(), times[0].end()));
    std::printf("  MinimalDialog.exe  %8.1f %8.1f %8.1f\n", minimal, *std::min_element(times[1].begin(), times[1].end()),
                *std::max_element(times[1].begin(), times[1].end()));
    std::printf("  ratio Morvane / minimal: %.2f\n", morvane / minimal);

    const int lineCount = 10000;
    CUninstaller uninstaller("C:\\Quarnel");
    std::vector<std::string> lines;
    for (int i = 0; i < lineCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "component%05d.dat", i);
        uninstaller.AddLog("File '%s' was deleted from here.", name);  // 48 bytes and the line end
        std::string line;
        uninstaller.GetLogLine(i, line);
        lines.push_back(line);
    }
    std::vector<double> fills;
    std::vector<double> plains;
    for (int repeat = 0; repeat < 3; ++repeat) {
        {
            HiddenLogBox box;
            const LARGE_INTEGER start = Now();
            FillLogView(box.log, uninstaller);
            fills.push_back(Milliseconds(start, Now()));
        }
        {
            HiddenLogBox box;
            const LARGE_INTEGER start = Now();
            PlainFill(box.log, lines);
            plains.push_back(Milliseconds(start, Now()));
        }
    }
    std::printf("log view, %d lines of %u bytes, median of 3 (ms):\n", lineCount, static_cast<unsigned>(lines[0].size()));
    std::printf("  log view fill (select end, scroll to caret, replace)  %8.1f\n", Median(fills));
    std::printf("  plain fill (replace only)                             %8.1f\n", Median(plains));
    std::printf("  ratio: %.2f\n", Median(fills) / Median(plains));
    return 0;
}
