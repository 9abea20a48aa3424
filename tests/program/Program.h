#pragma once

// BUILD\Morvane.exe as a user meets it: its dialog, its result box, its exit code.

#include "UiDriver.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

const char kQuestion[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？";
const char kNotInstalled[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。";
const char kRemoved[] = "正常にアンインストールされました。";
const char kNotRemoved[] = "アンインストールできませんでした。";

// Starts the program in the current directory given and waits for its dialog.
inline HWND Launch(ProgramRun& run, const std::string& currentDirectory = "", const std::string& program = "Morvane.exe")
{
    EXPECT_TRUE(run.Start(BuildPath(program), "", currentDirectory)) << program;
    const HWND dialog = WaitForProcessDialog(run.ProcessId(), "USB Quarnel Uninstaller", 8000);
    EXPECT_NE(dialog, nullptr) << "the main dialog within 8 s";
    return dialog;
}

// The dialog's controls as shown: the text, "-" when hidden, "(off)" when disabled.
inline std::string Seen(HWND dialog)
{
    std::string seen;
    for (int id : {IDC_PROMPT, IDC_LOG_LABEL, IDOK, IDCANCEL, ID_APP_ABOUT})
        seen += (IsControlShown(dialog, id) ? ControlText(dialog, id) : "-") +
                (IsWindowEnabled(GetDlgItem(dialog, id)) ? "|" : "(off)|");
    return seen;
}

// The result box's text and what else it shows, once it has come: "text [OK]" for a text, one OK
// button and no icon. The box is pressed away.
inline std::string ResultBox(const ProgramRun& run, const std::string& screenshot = "")
{
    const HWND box = WaitForProcessDialog(run.ProcessId(), "Morvane", 10000);
    if (box == nullptr)
        return "no result box within 10 s";
    std::string seen = ControlText(box, 0xFFFF) + " [";
    for (const ChildWindow& child : ChildWindows(box)) {
        if (child.visible && child.className == "Button")
            seen += WindowText(child.window);
        if (child.visible && (child.style & SS_TYPEMASK) == SS_ICON && child.className == "Static")
            seen += SendMessageA(child.window, STM_GETICON, 0, 0) ? "icon" : "";
    }
    if (!screenshot.empty())
        Screenshot(screenshot, box);
    PostCommand(box, IDOK);
    return WaitForWindowGone(box, 5000) ? seen + "]" : seen + "] stayed for 5 s";
}

// The log view's text once it shows, within 5 s.
inline std::string LogView(HWND dialog)
{
    for (int waited = 0; waited < 5000 && !IsControlShown(dialog, IDC_LOG); waited += 20)
        Sleep(20);
    return IsControlShown(dialog, IDC_LOG) ? ControlText(dialog, IDC_LOG) : "no log view within 5 s";
}
