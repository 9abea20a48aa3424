// Drives Morvane.exe through one uninstall as a user would, for the demo when there is no display to
// show it on: it confirms the question, dismisses the result box and closes the log view if one is
// shown, with a screenshot of each state. It prints what it saw, one tab-separated line per item,
// the program's texts as the program shows them (code page 932 bytes):
//   prompt TAB text          the question (or the not-installed notice)
//   result TAB text [buttons] the result box: its text, its buttons and "icon" if it shows one
//   log TAB line             each line of the log view, when it is shown
//   screenshot TAB name      a picture saved as <build folder>/screenshots/<name>.png
//   exit TAB code            Morvane.exe's exit code (signed)
//   error TAB what           a state that did not come
// Usage: demo_driver.exe <path of Morvane.exe> <screenshot name prefix>

#include "UiDriver.h"
#include "res/resource.h"

#include <cstdio>
#include <string>

namespace {

const char kMainCaption[] = "USB Quarnel Uninstaller";
const char kResultCaption[] = "Morvane";

void Print(const char* item, const std::string& text)
{
    std::printf("%s\t%s\n", item, text.c_str());
    std::fflush(stdout);
}

void Picture(const std::string& name, HWND window)
{
    Screenshot(name, window);
    Print("screenshot", name);
}

// The log box's text, one line per "\r\n"-ended line.
void PrintLog(const std::string& text)
{
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        Print("log", text.substr(start, end - start));
    if (start < text.size())
        Print("log", text.substr(start));
}

// Answers the result box and, after a failed removal, closes the log view.
void FinishRemoval(const ProgramRun& program, HWND dialog, const std::string& prefix)
{
    const HWND box = WaitForProcessDialog(program.ProcessId(), kResultCaption, 120000);
    if (!box) {
        Print("error", "no result box");
        return;
    }
    Print("result", MessageBoxSeen(box));
    Picture(prefix + "-2-result", box);
    PostCommand(box, IDOK);
    if (!WaitForWindowGone(box))
        Print("error", "the result box stayed");

    // Success closes the dialog; failure turns it into the log view.
    for (int waited = 0; waited < 20000 && program.IsRunning(); waited += 50) {
        if (WaitForControlShown(dialog, IDC_LOG, 50)) {
            PrintLog(ControlText(dialog, IDC_LOG));
            Picture(prefix + "-3-log", dialog);
            PostCommand(dialog, IDCANCEL);
            return;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: demo_driver.exe <path of Morvane.exe> <screenshot name prefix>\n");
        return 2;
    }
    const std::string prefix = argv[2];

    ProgramRun program;
    if (!program.Start(argv[1], "", "")) {
        Print("error", "Morvane.exe did not start, error " + std::to_string(GetLastError()));
        return 1;
    }
    const HWND dialog = WaitForProcessDialog(program.ProcessId(), kMainCaption, 60000);
    if (!dialog) {
        Print("error", "no main dialog");
        return 1;
    }
    Print("prompt", ControlText(dialog, IDC_PROMPT));
    Picture(prefix + "-1-question", dialog);

    if (IsControlShown(dialog, IDOK)) {
        PostCommand(dialog, IDOK);
        FinishRemoval(program, dialog, prefix);
    } else {
        PostCommand(dialog, IDCANCEL);
    }
    Print("exit", std::to_string(static_cast<LONG>(program.WaitForExit(30000))));
    return 0;
}
