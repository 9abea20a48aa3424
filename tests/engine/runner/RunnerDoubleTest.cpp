// What Wine cannot show of the runner: the exact start-up record and creation arguments, the order
// of its calls and that both handles are closed on every path, and its answer when a call fails.
#include "engine/ProcessRunner.h"
#include "engine/Uninstaller.h"
#include "tests/engine/PlatformDouble.h"
#include "tests/engine/runner/ComponentFolder.h"

#include <cstring>
#include <vector>

namespace {

// Also keeps the command-line buffer handed to CreateProcessA, and can let the child end before a
// wait that is made to fail.
class RunnerDouble : public PlatformDouble {
public:
    BOOL CreateProcessA(const char* applicationName, char* commandLine, SECURITY_ATTRIBUTES* processAttributes,
                        SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        void* environment, const char* currentDirectory, STARTUPINFOA* startupInfo,
                        PROCESS_INFORMATION* processInformation) override
    {
        commandLineBuffer = commandLine;
        const BOOL started = PlatformDouble::CreateProcessA(applicationName, commandLine, processAttributes,
                                                            threadAttributes, inheritHandles, creationFlags,
                                                            environment, currentDirectory, startupInfo,
                                                            processInformation);
        if (started) {
            HANDLE duplicate = nullptr;
            ::DuplicateHandle(::GetCurrentProcess(), processInformation->hProcess, ::GetCurrentProcess(), &duplicate,
                              0, FALSE, DUPLICATE_SAME_ACCESS);
            child.Reset(duplicate);
        }
        return started;
    }

    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override
    {
        if (childEndsBeforeWait)
            ::WaitForSingleObject(child.Get(), INFINITE);
        return PlatformDouble::WaitForSingleObject(handle, milliseconds);
    }

    const char* commandLineBuffer = nullptr;
    bool childEndsBeforeWait = false;
    OwnedHandle child;  // the test's own handle to the last child started
};

// The calls from the start of the child on.
std::vector<std::string> RunnerCalls(const PlatformDouble& platform)
{
    const std::vector<std::string>& calls = platform.Calls();
    for (auto it = calls.begin(); it != calls.end(); ++it) {
        if (it->compare(0, 15, "CreateProcessA(") == 0)
            return std::vector<std::string>(it, calls.end());
    }
    return {};
}

class RunnerDoubleTest : public ComponentFolderTest {};

TEST_F(RunnerDoubleTest, BothStepsStartTheirChildHiddenWithTheSameCreationArguments)
{
    Install("Pellox.dll");
    Install("Draveth.exe");
    std::string rundll32(MAX_PATH, '\0');
    rundll32.resize(::GetSystemDirectoryA(&rundll32[0], MAX_PATH));
    rundll32 += "\\rundll32.exe";

    const struct {
        bool (CUninstaller::*step)();
        bool applicationNameNull;
        std::string applicationName;
        std::string commandLine;
        const char* wait;
    } cases[] = {
        {&CUninstaller::UnregisterInfoTip, true, "",
         rundll32 + " \"" + ComponentPath("Pellox.dll") + "\",DllUnregisterServer", "WaitForSingleObject(p1, 4294967295) = 0"},
        {&CUninstaller::RunConfigToolUninstall, false, ComponentPath("Draveth.exe"), "/Uninstall",
         "WaitForSingleObject(p1, 5000) = 0"},
    };
    for (const auto& c : cases) {
        RunnerDouble platform;
        CUninstaller uninstaller(m_installFolder.c_str());
        EXPECT_TRUE((uninstaller.*c.step)());

        const PlatformDouble::ProcessLaunch& launch = platform.LastLaunch();
        EXPECT_EQ(launch.applicationNameNull, c.applicationNameNull);
        EXPECT_EQ(launch.applicationName, c.applicationName);
        EXPECT_FALSE(launch.commandLineNull);
        EXPECT_EQ(launch.commandLine, c.commandLine);
        EXPECT_TRUE(launch.processAttributesNull);
        EXPECT_TRUE(launch.threadAttributesNull);
        EXPECT_EQ(launch.inheritHandles, TRUE);
        EXPECT_EQ(launch.creationFlags, 0x30u);
        EXPECT_TRUE(launch.environmentNull);
        EXPECT_TRUE(launch.currentDirectoryNull);

        STARTUPINFOA expected;
        std::memset(&expected, 0, sizeof expected);
        expected.cb = 68;
        expected.dwX = expected.dwY = expected.dwXSize = expected.dwYSize = 0x80000000u;
        expected.dwFlags = STARTF_USESHOWWINDOW;
        expected.wShowWindow = SW_HIDE;
        EXPECT_EQ(sizeof(STARTUPINFOA), 68u);
        EXPECT_EQ(std::memcmp(&launch.startupInfo, &expected, sizeof expected), 0);

        const std::vector<std::string> calls = RunnerCalls(platform);
        ASSERT_EQ(calls.size(), 5u);
        EXPECT_EQ(calls[1], c.wait);
        EXPECT_TRUE(platform.OpenHandles().empty());
    }
}

TEST_F(RunnerDoubleTest, BothHandlesAreClosedOnEveryPath)
{
    Install("Draveth.exe");
    const std::string tool = ComponentPath("Draveth.exe");
    const std::string start = "CreateProcessA(" + Quoted(tool.c_str()) + ", \"/Uninstall\") = 1 -> p1 t1";
    const struct {
        const char* name;
        const char* exitCode;
        const char* milliseconds;  // how long the child runs
        DWORD timeout;
        const char* failing;  // the call made to fail, or null
        bool childEndsBeforeWait;
        bool expected;
        std::vector<std::string> calls;
    } cases[] = {
        {"exit 0", "0", "0", 5000, nullptr, false, true,
         {start, "WaitForSingleObject(p1, 5000) = 0", "GetExitCodeProcess(p1) = 1 -> 0x0", "CloseHandle(p1) = 1",
          "CloseHandle(t1) = 1"}},
        {"exit 1", "1", "0", 5000, nullptr, false, false,
         {start, "WaitForSingleObject(p1, 5000) = 0", "GetExitCodeProcess(p1) = 1 -> 0x1", "CloseHandle(p1) = 1",
          "CloseHandle(t1) = 1"}},
        {"time-out", "0", "20000", 200, nullptr, false, false,
         {start, "WaitForSingleObject(p1, 200) = 258", "TerminateProcess(p1, 0xFFFFD8F1) = 1", "CloseHandle(p1) = 1",
          "CloseHandle(t1) = 1"}},
        {"exit code unreadable", "0", "0", 5000, "GetExitCodeProcess", false, false,
         {start, "WaitForSingleObject(p1, 5000) = 0", "GetExitCodeProcess(p1) = 0", "CloseHandle(p1) = 1",
          "CloseHandle(t1) = 1"}},
        {"wait failed, child running", "0", "1500", 5000, "WaitForSingleObject", false, false,
         {start, "WaitForSingleObject(p1, 5000) = 4294967295", "GetExitCodeProcess(p1) = 1 -> 0x103",
          "CloseHandle(p1) = 1", "CloseHandle(t1) = 1"}},
        {"wait failed, child ended with 0", "0", "0", 5000, "WaitForSingleObject", true, true,
         {start, "WaitForSingleObject(p1, 5000) = 4294967295", "GetExitCodeProcess(p1) = 1 -> 0x0",
          "CloseHandle(p1) = 1", "CloseHandle(t1) = 1"}},
    };
    for (const auto& c : cases) {
        Tell("MORVANE_DRAVETH_EXIT", c.exitCode);
        Tell("MORVANE_DRAVETH_MS", c.milliseconds);
        RunnerDouble platform;
        platform.childEndsBeforeWait = c.childEndsBeforeWait;
        if (c.failing)
            platform.Fail(c.failing);

        EXPECT_EQ(RunProcessAndWait(tool.c_str(), "/Uninstall", c.timeout), c.expected) << c.name;
        EXPECT_EQ(RunnerCalls(platform), c.calls) << c.name;
        EXPECT_TRUE(platform.OpenHandles().empty()) << c.name;
        // The next case copies over the program: this one's child must be gone.
        ::WaitForSingleObject(platform.child.Get(), 10000);
    }
}

TEST_F(RunnerDoubleTest, FailedStartGivesFalseWhateverTheLastError)
{
    for (const DWORD error : {DWORD(ERROR_FILE_NOT_FOUND), DWORD(ERROR_ACCESS_DENIED), DWORD(0)}) {
        RunnerDouble platform;
        platform.Fail("CreateProcessA", 1, error);
        EXPECT_FALSE(RunProcessAndWait("C:\\tool.exe", "/Uninstall", 5000)) << error;
        EXPECT_EQ(platform.Calls(), std::vector<std::string>{"CreateProcessA(\"C:\\tool.exe\", \"/Uninstall\") = 0"});
        EXPECT_TRUE(platform.OpenHandles().empty());
    }
}

TEST_F(RunnerDoubleTest, CallersCommandLineIsCopiedNotHandedOver)
{
    Install("Draveth.exe");
    char commandLine[] = "/Uninstall";
    RunnerDouble platform;
    EXPECT_TRUE(RunProcessAndWait(ComponentPath("Draveth.exe").c_str(), commandLine, 5000));
    EXPECT_NE(platform.commandLineBuffer, commandLine);
    EXPECT_STREQ(commandLine, "/Uninstall");

    RunProcessAndWait(ComponentPath("Draveth.exe").c_str(), nullptr, 5000);
    EXPECT_TRUE(platform.LastLaunch().commandLineNull);
}

TEST_F(RunnerDoubleTest, WithoutTheSystemFolderNoBareRundll32IsStarted)
{
    Install("Pellox.dll");
    RunnerDouble platform;
    platform.Fail("GetSystemDirectoryA");
    CUninstaller uninstaller(m_installFolder.c_str());
    EXPECT_FALSE(uninstaller.UnregisterInfoTip());
    EXPECT_EQ(platform.CountOf("CreateProcessA"), 0);
    std::string line;
    ASSERT_TRUE(uninstaller.GetLogLine(0, line));
    EXPECT_EQ(line, "InfoTipの登録が解除されませんでした。");
    EXPECT_FALSE(uninstaller.GetLogLine(1, line));

    std::string folder = "C:\\old";
    GetSystemFolder(folder);
    EXPECT_EQ(folder, "");
}

} // namespace
