// The two unregistration steps with real child processes: the stand-in components in a test's own
// install folder, their outcome set through the environment they inherit.
#include "engine/Uninstaller.h"
#include "tests/engine/runner/ComponentFolder.h"
#include "tests/standins/StandInCalls.h"

#include <vector>

namespace {

using Step = bool (CUninstaller::*)();

std::vector<std::string> LogOf(const CUninstaller& uninstaller)
{
    std::vector<std::string> lines;
    std::string line;
    for (int index = 0; uninstaller.GetLogLine(index, line); ++index)
        lines.push_back(line);
    return lines;
}

class StepsTest : public ComponentFolderTest {};

TEST_F(StepsTest, MissingComponentGivesOneLineWithItsNameAndStartsNothing)
{
    const struct {
        Step step;
        const char* otherComponent;
        const char* line;
    } cases[] = {
        {&CUninstaller::UnregisterInfoTip, "Draveth.exe", "ファイル'Pellox.dll'は存在しません。"},
        {&CUninstaller::RunConfigToolUninstall, "Pellox.dll", "ファイル'Draveth.exe'は存在しません。"},
    };
    for (const auto& c : cases) {
        Install(c.otherComponent);
        CUninstaller uninstaller(m_installFolder.c_str());
        EXPECT_FALSE((uninstaller.*c.step)());
        EXPECT_EQ(LogOf(uninstaller), std::vector<std::string>{c.line});
        EXPECT_TRUE(ReadStandInCalls(m_recordPath).empty());
        ASSERT_TRUE(::DeleteFileA(ComponentPath(c.otherComponent).c_str()));
    }
}

TEST_F(StepsTest, InfoTipStepLogsWhatRundll32Reported)
{
    const struct {
        const char* exitCode;  // null: the export returns
        bool expected;
        const char* line;
    } cases[] = {
        {nullptr, true, "InfoTipの登録が解除されました。"},
        {"1", false, "InfoTipの登録が解除されませんでした。"},
    };
    Install("Pellox.dll");
    for (const auto& c : cases) {
        Tell("MORVANE_PELLOX_EXIT", c.exitCode);
        CUninstaller uninstaller(m_installFolder.c_str());
        EXPECT_EQ(uninstaller.UnregisterInfoTip(), c.expected);
        EXPECT_EQ(LogOf(uninstaller), std::vector<std::string>{c.line});
    }
    EXPECT_EQ(ReadStandInCalls(m_recordPath).size(), 2u);
}

TEST_F(StepsTest, ToolStepLogsTheToolsExitCode)
{
    const struct {
        const char* exitCode;
        const char* milliseconds;
        bool expected;
        const char* line;
    } cases[] = {
        // Well inside the time-out, with room for Wine's process start-up.
        {"0", "3000", true, "Dravethの登録が解除されました。"},
        {"1", "0", false, "Dravethの登録が解除されませんでした。"},
    };
    Install("Draveth.exe");
    for (const auto& c : cases) {
        Tell("MORVANE_DRAVETH_EXIT", c.exitCode);
        Tell("MORVANE_DRAVETH_MS", c.milliseconds);
        CUninstaller uninstaller(m_installFolder.c_str());
        EXPECT_EQ(uninstaller.RunConfigToolUninstall(), c.expected) << "exit code " << c.exitCode;
        EXPECT_EQ(LogOf(uninstaller), std::vector<std::string>{c.line});
    }
    for (const StandInCall& call : ReadStandInCalls(m_recordPath))
        EXPECT_EQ(call.commandLine, "/Uninstall");
}

TEST_F(StepsTest, ToolStillRunningAfterFiveSecondsIsTerminated)
{
    Install("Draveth.exe");
    Tell("MORVANE_DRAVETH_EXIT", "0");
    Tell("MORVANE_DRAVETH_MS", "30000");
    FirstChildWatcher watcher(m_recordPath);

    CUninstaller uninstaller(m_installFolder.c_str());
    EXPECT_FALSE(uninstaller.RunConfigToolUninstall());
    EXPECT_EQ(LogOf(uninstaller), std::vector<std::string>{"Dravethの登録が解除されませんでした。"});

    ASSERT_TRUE(watcher.Child());
    EXPECT_EQ(ExitCodeOf(watcher.Child()), 0xFFFFD8F1u);
}

TEST_F(StepsTest, StepsLeaveTheInstallFolderAsItWas)
{
    Install("Pellox.dll");
    Install("Draveth.exe");
    CUninstaller uninstaller(m_installFolder.c_str());
    // Each step builds its file's path from the stored folder; had one changed it, the next would
    // look for its file in the wrong place.
    EXPECT_TRUE(uninstaller.UnregisterInfoTip());
    EXPECT_TRUE(uninstaller.RunConfigToolUninstall());
    EXPECT_TRUE(uninstaller.UnregisterInfoTip());
    EXPECT_EQ(LogOf(uninstaller), (std::vector<std::string>{"InfoTipの登録が解除されました。",
                                                             "Dravethの登録が解除されました。",
                                                             "InfoTipの登録が解除されました。"}));

    const std::vector<StandInCall> calls = ReadStandInCalls(m_recordPath);
    ASSERT_EQ(calls.size(), 3u);
    const std::string library = "\"" + ComponentPath("Pellox.dll") + "\",DllUnregisterServer";
    EXPECT_NE(calls[0].commandLine.find(library), std::string::npos) << calls[0].commandLine;
    EXPECT_EQ(calls[2].commandLine, calls[0].commandLine);
}

} // namespace
