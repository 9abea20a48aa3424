// The runner against real child processes under Wine: the stand-in components tell how they were
// started, and their exit codes are set through the environment they inherit.
#include "engine/ProcessRunner.h"
#include "tests/engine/runner/ComponentFolder.h"
#include "tests/standins/StandInCalls.h"

#include <iterator>

namespace {

std::string CurrentFolder()
{
    char folder[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, folder);
    return std::string(folder, length);
}

std::string SystemFolder()
{
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder, length);
}

class RunnerTest : public ComponentFolderTest {};

TEST_F(RunnerTest, OnlyExitCodeZeroCountsAsSuccess)
{
    const struct {
        const char* exitCode;
        bool expected;
    } cases[] = {
        {"0", true}, {"1", false}, {"-1", false}, {"-9999", false}, {"259", false}, {"0x80000000", false},
    };
    Install("Draveth.exe");
    const std::string tool = ComponentPath("Draveth.exe");
    for (const auto& c : cases) {
        Tell("MORVANE_DRAVETH_EXIT", c.exitCode);
        EXPECT_EQ(RunProcessAndWait(tool.c_str(), "/Uninstall", 5000), c.expected) << "exit code " << c.exitCode;
    }
    EXPECT_EQ(ReadStandInCalls(m_recordPath).size(), std::size(cases));
}

TEST_F(RunnerTest, ChildGetsTheCommandLineAloneTheCurrentFolderAndAHiddenWindow)
{
    Install("Draveth.exe");
    ASSERT_TRUE(RunProcessAndWait(ComponentPath("Draveth.exe").c_str(), "/Uninstall", INFINITE));

    const std::vector<StandInCall> calls = ReadStandInCalls(m_recordPath);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].component, "Draveth.exe");
    EXPECT_EQ(calls[0].commandLine, "/Uninstall");
    EXPECT_EQ(calls[0].currentDirectory, CurrentFolder());
    EXPECT_EQ(calls[0].startupFlags, static_cast<DWORD>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(calls[0].showWindow, SW_HIDE);
}

TEST_F(RunnerTest, ProgramThatDoesNotExistGivesFalse)
{
    const std::string missing = m_installFolder + "\\Draveth.exe";
    const std::string quotedMissing = "\"" + missing + "\" /Uninstall";
    const struct {
        const char* applicationName;
        const char* commandLine;
    } cases[] = {
        {missing.c_str(), "/Uninstall"},
        {nullptr, quotedMissing.c_str()},
        {"C:\\no such folder\\tool.exe", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(RunProcessAndWait(c.applicationName, c.commandLine, 5000))
            << (c.applicationName ? c.applicationName : c.commandLine);
}

TEST_F(RunnerTest, Rundll32CommandLineQuotesTheLibraryButNotRundll32)
{
    Install("Pellox.dll");
    const std::string library = ComponentPath("Pellox.dll");
    ASSERT_TRUE(UnregisterServerDll(library.c_str()));

    const std::vector<StandInCall> calls = ReadStandInCalls(m_recordPath);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].component, "Pellox.dll");
    EXPECT_EQ(calls[0].commandLine, SystemFolder() + "\\rundll32.exe \"" + library + "\",DllUnregisterServer");
    EXPECT_EQ(calls[0].currentDirectory, CurrentFolder());
    EXPECT_EQ(calls[0].startupFlags, static_cast<DWORD>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(calls[0].showWindow, SW_HIDE);
}

TEST_F(RunnerTest, Rundll32FailsOnlyWhenTheLibraryEndsItWithANonZeroCode)
{
    const struct {
        const char* exitCode;  // null: the export returns
        bool expected;
    } cases[] = {{nullptr, true}, {"0", true}, {"3", false}, {"-1", false}};
    Install("Pellox.dll");
    for (const auto& c : cases) {
        Tell("MORVANE_PELLOX_EXIT", c.exitCode);
        EXPECT_EQ(UnregisterServerDll(ComponentPath("Pellox.dll").c_str()), c.expected)
            << (c.exitCode ? c.exitCode : "returns");
    }
    EXPECT_EQ(ReadStandInCalls(m_recordPath).size(), std::size(cases));
}

TEST(GetSystemFolderTest, OverwritesWhateverTheTextHeld)
{
    for (const std::string& before : {std::string(), std::string("C:\\old"), std::string(400, 'x')}) {
        std::string folder = before;
        GetSystemFolder(folder);
        EXPECT_EQ(folder, SystemFolder()) << "before: " << before;
    }
}

TEST(QuotePathTest, AddsOneQuoteAtEachEndAndNothingElse)
{
    const struct {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"", "\"\""},
        {"C:\\Program Files\\ソフト\\Pellox.dll", "\"C:\\Program Files\\ソフト\\Pellox.dll\""},
        {"\"C:\\a b\"", "\"\"C:\\a b\"\""},
        {"a\"b", "\"a\"b\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuotePath(c.text), c.quoted);
}

} // namespace
