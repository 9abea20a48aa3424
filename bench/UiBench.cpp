// The user interface's figures under Wine. Usage: ui_bench.exe [rounds]
// 1. Start-up: milliseconds from CreateProcess to the first dialog shown, Morvane.exe against a
//    minimal dialog program of ours started the same way, taking turns; medians and ratio.
// 2. The log view: 10,000 lines filled with the main dialog's per-line sequence (FillLogView)
//    against a plain fill of one EM_REPLACESEL per line, each into a hidden main-dialog template.
#include "UiDriver.h"
#include "engine/Uninstaller.h"
#include "res/resource.h"
#include "ui/AppModule.h"
#include "ui/LogView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

static double Ms()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Milliseconds from CreateProcess to the program's first visible dialog; -1 when none came.
static double TimeToDialog(const std::string& program)
{
    ProgramRun run;
    const double start = Ms();
    const HWND dialog = run.Start(program, "", "") ? WaitForProcessDialog(run.ProcessId(), nullptr, 30000) : nullptr;
    const double shown = Ms() - start;
    if (dialog)
        PostCommand(dialog, IDCANCEL);
    run.WaitForExit();
    return dialog ? shown : -1;
}

static INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// Milliseconds to fill the log box of a fresh, hidden main-dialog template.
static double TimeFill(const std::function<void(HWND log)>& fill)
{
    const HWND dialog = CreateDialogParamA(_Module.GetResourceInstance(), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                           PassiveDialogProc, 0);
    const double start = Ms();
    fill(GetDlgItem(dialog, IDC_LOG));
    const double ms = Ms() - start;
    DestroyWindow(dialog);
    return ms;
}

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string programs[] = {BuildFolder() + "\\Morvane.exe", BuildFolder() + "\\bench\\MinimalDialog.exe"};
    std::vector<double> times[2];
    TimeToDialog(programs[0]);  // the first start of a run also pays for Wine's own start-up
    for (int round = 0; round < rounds; ++round) {
        for (int which : {round % 2, 1 - round % 2}) {  // taking turns spreads any drift over both
            times[which].push_back(TimeToDialog(programs[which]));
            if (times[which].back() < 0)
                return std::printf("no dialog from %s\n", programs[which].c_str()), 1;
        }
    }
    std::printf("start to dialog shown, %d rounds (median, min, max in ms):\n", rounds);
    for (int which : {0, 1})
        std::printf("  %-18s %8.1f %8.1f %8.1f\n", which ? "MinimalDialog.exe" : "Morvane.exe", Median(times[which]),
                    *std::min_element(times[which].begin(), times[which].end()),
                    *std::max_element(times[which].begin(), times[which].end()));
    std::printf("  ratio Morvane / minimal: %.2f\n", Median(times[0]) / Median(times[1]));

    CUninstaller uninstaller("C:\\Quarnel");
    std::vector<std::string> lines(10000);
    for (size_t i = 0; i < lines.size(); ++i) {
        uninstaller.AddLog("File 'component%05u.dat' was deleted from here.", static_cast<unsigned>(i));  // 48 bytes
        uninstaller.GetLogLine(static_cast<int>(i), lines[i]);
    }
    std::vector<double> fills, plains;
    for (int repeat = 0; repeat < 3; ++repeat) {
        fills.push_back(TimeFill([&](HWND log) { FillLogView(log, uninstaller); }));
        plains.push_back(TimeFill([&](HWND log) {
            SendMessageA(log, EM_SETLIMITTEXT, 0, 0);
            for (const std::string& line : lines)
                SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>((line + "\r\n").c_str()));
        }));
    }
    std::printf("log view, %u lines of %u bytes and the line end, median of 3 (ms):\n",
                static_cast<unsigned>(lines.size()), static_cast<unsigned>(lines[0].size()));
    std::printf("  log view fill (select end, scroll to caret, replace)  %8.1f\n", Median(fills));
    std::printf("  plain fill (replace only)                             %8.1f\n", Median(plains));
    std::printf("  ratio: %.2f\n", Median(fills) / Median(plains));
    return 0;
}
