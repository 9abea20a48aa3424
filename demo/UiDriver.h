#pragma once

// Driving dialogs from a test, as a user would: finding them among the top-level windows, reading
// their controls' texts (exact ANSI bytes) and visibility, posting commands, and keeping
// screenshots of the Xvfb display. Works on windows of this process and of other processes.

#include <windows.h>

#include <string>
#include <vector>

// The first visible dialog (class "#32770") with this caption (any caption for nullptr) that belongs to
// the process, waiting up to timeoutMs for it to appear; nullptr when none appeared.
HWND WaitForProcessDialog(DWORD processId, const char* caption, DWORD timeoutMs = 10000);

// True when the window is gone (destroyed) within timeoutMs.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);

// A dialog's child windows in z-order (template order for a dialog).
struct ChildWindow {
    HWND window;
    std::string className;
    LONG style;
    bool visible;
};
std::vector<ChildWindow> ChildWindows(HWND dialog);

// The text of a window or control through WM_GETTEXT, which also reaches edit controls of another process.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool IsControlShown(HWND dialog, int id);
// True when the control is shown within timeoutMs.
bool WaitForControlShown(HWND dialog, int id, DWORD timeoutMs);

// A message box (or a dialog like it) as the user sees it: its first text, then its buttons' texts and
// "icon" for a shown icon in brackets, e.g. "text [OK]".
std::string MessageBoxSeen(HWND box);

// A button press as the button itself reports it (WM_COMMAND, BN_CLICKED, the button's handle),
// posted, so that a handler that opens a modal box does not block the test.
void PostCommand(HWND dialog, int id);

// The build folder this program belongs to (one level above demo/x.exe or tests/x.exe), no
// trailing backslash.
std::string BuildFolder();

// Runs a command line of the Unix shell, beside Wine; its error output goes to this program's. Wine
// starts Unix programs but cannot wait for them: the shell removes a marker file when the command has
// ended, leaving a second one when it failed. False when the command failed, or did not start or end
// within timeoutMs.
bool RunUnixCommand(const std::string& command, DWORD timeoutMs = 10000);

// The Unix path of a path on drive Z: (the Unix root) or C: (the prefix's drive_c), in single quotes
// for the shell.
std::string UnixPath(const std::string& path);

// Saves a picture of the whole display as <build folder>/screenshots/<name>.png, once the window
// (and what it owns) has been painted; a null window for a program that is busy and cannot paint.
void Screenshot(const std::string& name, HWND window);

// A program of the build started with the given arguments and current directory.
class ProgramRun {
public:
    ProgramRun() = default;
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    ~ProgramRun();  // ends the program if it still runs

    bool Start(const std::string& program, const std::string& arguments, const std::string& currentDirectory);
    DWORD ProcessId() const { return m_processId; }

    // The exit code once the program has ended within timeoutMs; STILL_ACTIVE otherwise.
    DWORD WaitForExit(DWORD timeoutMs = 10000);
    bool IsRunning() const;

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};
