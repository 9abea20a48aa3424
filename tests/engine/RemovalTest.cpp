// The four removal steps on real folders, child processes and the registry: what each scenario
// leaves behind, the log lines in order, the children's command lines and the overall result.
#include "engine/Uninstaller.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Deleted(const std::string& name) { return "ファイル'" + name + "'は削除されました。"; }
std::string NotDeleted(const std::string& name) { return "ファイル'" + name + "'は削除きでませんでした。"; }
std::string Skipped(const std::string& name) { return "ファイル'" + name + "'の削除はスキップされました。"; }
std::string Missing(const std::string& name) { return "ファイル'" + name + "'は存在しません。"; }
const std::string kInfoTipDone = "InfoTipの登録が解除されました。";
const std::string kInfoTipFailed = "InfoTipの登録が解除されませんでした。";
const std::string kToolDone = "Dravethの登録が解除されました。";
const std::string kToolFailed = "Dravethの登録が解除されませんでした。";
const std::string kEntryDone = "アンインストール情報レジストリエントリは削除されました。";
const std::string kEntryFailed = "アンインストール情報レジストリエントリは削除できませんでした。";

// Files are made as named; "!" before a name makes it read-only, "~" keeps it open without
// FILE_SHARE_DELETE while the removal runs. Pellox.dll and Draveth.exe are the stand-ins.
struct Scenario {
    const char* what;
    Lines files;
    const char* environment;  // "NAME=value" for the stand-ins, or ""
    bool entry;               // the uninstall key exists
    Lines log;
    Lines left;
    bool result;
};

const Scenario kScenarios[] = {
    {"whole installation", {"Pellox.dll", "Draveth.exe", "Readme.txt", "Tamsel.dat", "Sub\\", "Sub\\Keep.txt"}, "", true,
     {kInfoTipDone, kToolDone, Deleted("Draveth.exe"), Deleted("Pellox.dll"), Deleted("Readme.txt"), Skipped("Tamsel.dat"), kEntryDone},
     {"Sub", "Sub\\Keep.txt", "Tamsel.dat"}, true},
    {"components fail", {"Pellox.dll", "Draveth.exe"}, "MORVANE_PELLOX_EXIT=1", true,
     {kInfoTipFailed, kToolDone, Deleted("Draveth.exe"), Deleted("Pellox.dll"), kEntryDone}, {}, true},
    {"tool exits non-zero", {"Pellox.dll", "Draveth.exe"}, "MORVANE_DRAVETH_EXIT=-1", true,
     {kInfoTipDone, kToolFailed, Deleted("Draveth.exe"), Deleted("Pellox.dll"), kEntryDone}, {}, true},
    {"tool past 5 s is ended", {"Draveth.exe"}, "MORVANE_DRAVETH_MS=20000", true,
     {Missing("Pellox.dll"), kToolFailed, Deleted("Draveth.exe"), kEntryDone}, {}, true},
    {"preserved file in every spelling", {"TAMSEL.DAT", "Tamsel.dat.bak", "xTamsel.dat"}, "", true,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("TAMSEL.DAT"), Deleted("Tamsel.dat.bak"), Deleted("xTamsel.dat"), kEntryDone},
     {"TAMSEL.DAT"}, true},
    {"names Windows reads as the preserved file", {"Tamsel.dat.", "tamsel.dat  "}, "", true,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("tamsel.dat  "), Skipped("Tamsel.dat."), kEntryDone},
     {"Tamsel.dat.", "tamsel.dat  "}, true},
    {"read-only and open files", {"!a.txt", "b.txt", "~c.txt", "d.txt"}, "", true,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), NotDeleted("a.txt"), Deleted("b.txt"), NotDeleted("c.txt"), Deleted("d.txt"), kEntryDone},
     {"a.txt", "c.txt"}, false},
    {"entry already gone", {"Tamsel.dat"}, "", false,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("Tamsel.dat"), kEntryFailed}, {"Tamsel.dat"}, false},
    {"empty folder", {}, "", true, {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryDone}, {}, true},
};

Lines LogOf(const CUninstaller& uninstaller)
{
    Lines lines;
    for (std::string line; uninstaller.GetLogLine(static_cast<int>(lines.size()), line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(Removal, EachScenarioLeavesWhatItMustAndLogsItInOrder)
{
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.what);
        TestFolder folder("Quarnel 2 install");
        std::vector<HANDLE> held;
        for (std::string name : scenario.files) {
            const char mark = name[0];
            if (mark == '!' || mark == '~')
                name.erase(0, 1);
            folder.Add(name, mark == '!' ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
            if (mark == '~')
                held.push_back(CreateFileA(folder.PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        if (scenario.entry)
            WriteUninstallString("-f\"" + folder.PathOf("Uninst.log") + "\"");
        else
            RemoveProductKey();
        const std::string environment = scenario.environment;
        const std::size_t equals = environment.find('=');
        if (equals != std::string::npos)
            SetEnvironmentVariableA(environment.substr(0, equals).c_str(), environment.substr(equals + 1).c_str());
        const StandInRecord record;

        CUninstaller uninstaller(folder.Path().c_str());
        const DWORD started = GetTickCount();
        EXPECT_EQ(uninstaller.Execute(), scenario.result);
        const DWORD took = GetTickCount() - started;

        for (HANDLE file : held)
            CloseHandle(file);
        if (equals != std::string::npos)
            SetEnvironmentVariableA(environment.substr(0, equals).c_str(), nullptr);
        EXPECT_EQ(LogOf(uninstaller), scenario.log);
        EXPECT_EQ(folder.Names(), scenario.left);
        EXPECT_FALSE(ProductKeyExists());
        // The tool that does not end is waited for 5 s, then ended: it never records a second time.
        if (environment == "MORVANE_DRAVETH_MS=20000") {
            EXPECT_TRUE(took >= 5000 && took < 15000) << took;
        }
        Lines expectedCalls;
        if (std::find(scenario.files.begin(), scenario.files.end(), "Pellox.dll") != scenario.files.end())
            expectedCalls.push_back("Pellox.dll\tC:\\windows\\system32\\rundll32.exe \"" + folder.PathOf("Pellox.dll") +
                                    "\",DllUnregisterServer\t1");
        if (std::find(scenario.files.begin(), scenario.files.end(), "Draveth.exe") != scenario.files.end())
            expectedCalls.push_back("Draveth.exe\t/Uninstall\t1");
        EXPECT_EQ(record.Calls(), expectedCalls);
    }
}

TEST(Removal, MissingFolderDeletesNothingAndFails)
{
    WriteUninstallString("-fC:\\Quarnel2 missing\\Uninst.log");
    CUninstaller uninstaller("C:\\Quarnel2 missing");
    EXPECT_FALSE(uninstaller.Execute());
    EXPECT_EQ(LogOf(uninstaller), (Lines{Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryDone}));
}
