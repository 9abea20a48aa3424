#include "engine/ProcessRunner.h"

#include "engine/Text.h"
#include "engine/PathFunctions.h"
#include "platform/Handles.h"

namespace {

// The exit code a child is given when it is still running at the end of its time-out.
const UINT kTerminatedExitCode = static_cast<UINT>(-9999);

} // namespace

bool RunProcessAndWait(const char* applicationName, const char* commandLine, DWORD timeout)
{
    Platform& platform = CurrentPlatform();

    // Only the hidden first window is applied; the position and size are there for a child that
    // reads its start-up information, without the flags that would make the system use them.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwX = CW_USEDEFAULT;
    startup.dwY = CW_USEDEFAULT;
    startup.dwXSize = CW_USEDEFAULT;
    startup.dwYSize = CW_USEDEFAULT;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;

    // CreateProcessA may write into the command line, so it gets a private copy.
    std::string commandCopy;
    char* commandBuffer = nullptr;
    if (commandLine) {
        commandCopy = commandLine;
        commandBuffer = &commandCopy[0];
    }

    PROCESS_INFORMATION child = {};
    if (!platform.CreateProcessA(applicationName, commandBuffer, nullptr, nullptr, TRUE,
                                 CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &child))
        return false;
    CHandle process(child.hProcess);
    CHandle thread(child.hThread);

    bool succeeded = false;
    if (platform.WaitForSingleObject(process.Get(), timeout) == WAIT_TIMEOUT) {
        // Not waited for: the child may go on for a moment after this returns.
        platform.TerminateProcess(process.Get(), kTerminatedExitCode);
    } else {
        // Also after a failed wait: a child that is still running reads as STILL_ACTIVE, not 0.
        DWORD exitCode = 0;
        succeeded = platform.GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0;
    }

    process.Close();
    thread.Close();
    return succeeded;
}

bool UnregisterServerDll(const char* dllPath)
{
    // Without the system directory the command line would begin with a bare "rundll32.exe", which
    // the system looks for in this program's folder and the current directory first.
    std::string rundll32;
    GetSystemFolder(rundll32);
    if (rundll32.empty() || !AppendPath(rundll32, "rundll32.exe"))
        return false;

    const std::string commandLine = rundll32 + " " + QuotePath(dllPath) + ",DllUnregisterServer";
    return RunProcessAndWait(nullptr, commandLine.c_str(), INFINITE);
}

std::string QuotePath(const char* text)
{
    return "\"" + std::string(text) + "\"";
}

void GetSystemFolder(std::string& folder)
{
    // Cleared first: a failed call writes nothing, so the text is then empty, not the old one.
    folder.clear();
    char* buffer = GetBuffer(folder, 270);
    CurrentPlatform().GetSystemDirectoryA(buffer, MAX_PATH);
    ReleaseBuffer(folder);
}
