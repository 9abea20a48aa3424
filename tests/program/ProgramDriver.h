#pragma once

// The real Morvane.exe of the build, driven from outside as its user sees it: the dialog's states as texts,
// a confirmed removal as its result box and log view, and a fixture with an installation to remove.
#include "UiDriver.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

#include <functional>
#include <stdexcept>

inline const std::string kOffer =
    "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？|-|はい|いいえ"
    "|&About...|";
inline const std::string kNotInstalled =
    "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。|-|-(off)|閉じる"
    "|&About...|";
inline const std::string kRemoved = "正常にアンインストールされました。 [OK]";
inline const std::string kNotRemoved = "アンインストールできませんでした。 [OK]";
inline const Lines kInstalled = {"Data", "Data\\Keep.txt", "Draveth.exe", "Notes.txt", "Pellox.dll", "Tamsel.dat"};

// The main dialog's controls: text, "-" when hidden, "(off)" when disabled.
inline std::string Seen(HWND dialog)
{
    std::string seen;
    for (int id : {IDC_PROMPT, IDC_LOG_LABEL, IDOK, IDCANCEL, ID_APP_ABOUT}) {
        seen += IsControlShown(dialog, id) ? ControlText(dialog, id) : "-";
        seen += IsWindowEnabled(GetDlgItem(dialog, id)) ? "|" : "(off)|";
    }
    return seen;
}

inline std::string Exit(ProgramRun& run) { return "exit " + std::to_string(static_cast<int>(run.WaitForExit(5000))); }

// Without the dialog (or result box) a test ends at once.
inline HWND Launch(ProgramRun& run, const std::string& currentDirectory = "")
{
    const bool started = run.Start(BuildFolder() + "\\Morvane.exe", "", currentDirectory);
    const HWND dialog = started ? WaitForProcessDialog(run.ProcessId(), "USB Quarnel Uninstaller", 8000) : nullptr;
    return dialog ? dialog : throw std::runtime_error("no main dialog within 8 s");
}

// The result box as seen (and handed to seeBox while it shows), then the log view once shown with a new text (read
// through a message: answered only after the box).
inline std::string Confirm(const ProgramRun& run, HWND dialog, const std::function<void(HWND)>& seeBox = [](HWND) {})
{
    std::string log = ControlText(dialog, IDC_LOG), before = log;
    PostCommand(dialog, IDOK);
    const HWND box = WaitForProcessDialog(run.ProcessId(), "Morvane", 10000);
    const std::string seen = box ? MessageBoxSeen(box) : throw std::runtime_error("no result box within 10 s");
    seeBox(box);
    PostCommand(box, IDOK);
    for (const DWORD start = GetTickCount(); seen != kRemoved && ((log = ControlText(dialog, IDC_LOG)) == before ||
                                                                  !IsControlShown(dialog, IDC_LOG));)
        GetTickCount() - start < 5000 ? Sleep(10) : throw std::runtime_error("no new log view within 5 s");
    return seen == kRemoved ? seen : seen + "\n" + log;
}

// A failure as the user reads it: the result box, then the log view's lines, from their short forms (LogLine).
inline std::string FailureSeen(const Lines& codes)
{
    std::string seen = kNotRemoved + "\n";
    for (const std::string& code : codes)
        seen += LogLine(code) + "\r\n";
    return seen;
}

// An installation of the product in a test folder, with its uninstall entry.
struct Program : testing::Test {
    Program()
    {
        for (const std::string& name : kInstalled)
            folder.Add(name + (name == "Data" ? "\\" : ""));
        WriteUninstallString("Setup.exe -f \"" + folder.PathOf("Uninst.log") + "\"");
    }
    ~Program() override { RemoveProductKey(); }
    const TestFolder folder{"morvane-program"};
};
