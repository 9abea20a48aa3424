#include "UiDriver.h"

#include <cstring>
#include <functional>

namespace {

struct DialogSearch {
    DWORD processId;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId)
        return TRUE;
    // GetWindowTextA reads another process's caption without a message, so a busy program does not
    // hold the search up.
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    if (search->caption != nullptr && std::strcmp(caption, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter)
{
    auto* children = reinterpret_cast<std::vector<ChildWindow>*>(parameter);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    children->push_back({window, className, GetWindowLongA(window, GWL_STYLE), IsWindowVisible(window) != FALSE});
    return TRUE;
}

// Asks every 10 ms until the condition holds (true) or timeoutMs have passed (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

} // namespace

std::vector<ChildWindow> ChildWindows(HWND dialog)
{
    std::vector<ChildWindow> children;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// Read as the Unicode text the window shows and given as code page 932 bytes, whatever this process's code page:
// an ANSI read would convert it through the reader's code page (1252: every Japanese character a "?").
std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return "<no answer>";
    std::string bytes(text.size() * 2, '\0');
    bytes.resize(WideCharToMultiByte(932, 0, text.c_str(), -1, &bytes[0], static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
    bytes.resize(std::strlen(bytes.c_str()));
    return bytes;
}

namespace {

// A window is drawn on the display a while after it is shown (the first one of a process waits for
// its fonts): has it and its children painted now, and waits until its thread has done so.
void PaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

} // namespace

HWND WaitForProcessDialog(DWORD processId, const char* caption, DWORD timeoutMs)
{
    DialogSearch search = {processId, caption, nullptr};
    WaitUntil([&search] { EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search)); return search.found != nullptr; },
              timeoutMs);
    return search.found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([window] { return !IsWindow(window); }, timeoutMs);
}

std::string ControlText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

bool IsControlShown(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

bool WaitForControlShown(HWND dialog, int id, DWORD timeoutMs)
{
    return WaitUntil([dialog, id] { return IsControlShown(dialog, id); }, timeoutMs);
}

std::string MessageBoxSeen(HWND box)
{
    std::string text, parts;
    bool textFound = false;
    for (const ChildWindow& child : ChildWindows(box)) {
        const bool icon = child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ICON;
        std::string part;
        if (child.visible && child.className == "Button")
            part = WindowText(child.window);
        else if (child.visible && icon && SendMessageA(child.window, STM_GETICON, 0, 0) != 0)
            part = "icon";
        else if (child.visible && child.className == "Static" && !icon && !textFound) {
            text = WindowText(child.window);
            textFound = true;
        }
        if (!part.empty())
            parts += (parts.empty() ? "" : " ") + part;
    }
    return text + " [" + parts + "]";
}

void PostCommand(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string BuildFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    for (int level = 0; level < 2; ++level)
        folder.erase(folder.find_last_of('\\'));
    return folder;
}

std::string UnixPath(const std::string& path)
{
    std::string unix = path.substr(2);
    if (path.compare(0, 2, "C:") == 0 || path.compare(0, 2, "c:") == 0) {
        char prefix[MAX_PATH] = "";
        GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
        unix = std::string(prefix) + "/drive_c" + unix;
    }
    for (char& c : unix)
        if (c == '\\')
            c = '/';
    return "'" + unix + "'";
}

bool RunUnixCommand(const std::string& command, DWORD timeoutMs)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string marker = std::string(temp) + "unix-command-" + std::to_string(GetCurrentProcessId());
    const std::string failed = marker + "-failed";
    DeleteFileA(failed.c_str());
    // CloseHandle accepts INVALID_HANDLE_VALUE: only the handle tells whether the marker was made.
    const HANDLE made = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (made == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(made);
    std::string line = "/bin/sh -c \"(" + command + ") || : >" + UnixPath(failed) + "; rm -f " + UnixPath(marker) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        DeleteFileA(marker.c_str());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The failure marker can be deleted only when the shell left it.
    if (WaitUntil([&marker] { return GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; }, timeoutMs))
        return !DeleteFileA(failed.c_str());
    DeleteFileA(marker.c_str());
    return false;
}

void Screenshot(const std::string& name, HWND window)
{
    // Wine maps the Unix root to drive Z:, where the build folder is reached from.
    const std::string folder = BuildFolder();
    if (folder.compare(0, 3, "Z:\\") != 0)
        return;
    if (window != nullptr)
        PaintNow(window);
    Sleep(300);  // the display's own catching up
    const std::string picture = folder + "\\screenshots\\" + name + ".png";
    DeleteFileA(picture.c_str());
    RunUnixCommand("mkdir -p " + UnixPath(folder + "\\screenshots") + " && import -window root " + UnixPath(picture));
}

ProgramRun::~ProgramRun()
{
    if (m_process == nullptr)
        return;
    if (IsRunning()) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool ProgramRun::Start(const std::string& program, const std::string& arguments, const std::string& currentDirectory)
{
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
    return true;
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process, &code);
    return code;
}

bool ProgramRun::IsRunning() const
{
    return m_process != nullptr && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}
