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
    const char* environment;  // "NAME=value" for the stand-ins
    int entry;                // the uninstall key: 0 gone, 1 there, 2 there with a subkey
    Lines log;
    Lines left;
    bool result;
};

const Scenario kScenarios[] = {
    {"whole installation", {"Pellox.dll", "Draveth.exe", "Readme.txt", "Tamsel.dat", "Sub\\", "Sub\\Keep.txt"}, "MORVANE_PELLOX_EXIT=", 1,
     {kInfoTipDone, kToolDone, Deleted("Draveth.exe"), Deleted("Pellox.dll"), Deleted("Readme.txt"), Skipped("Tamsel.dat"), kEntryDone},
     {"Sub", "Sub\\Keep.txt", "Tamsel.dat"}, true},
    {"components fail", {"Pellox.dll", "Draveth.exe"}, "MORVANE_PELLOX_EXIT=1", 1,
     {kInfoTipFailed, kToolDone, Deleted("Draveth.exe"), Deleted("Pellox.dll"), kEntryDone}, {}, true},
    {"tool exits non-zero", {"Pellox.dll", "Draveth.exe"}, "MORVANE_DRAVETH_EXIT=-1", 1,
     {kInfoTipDone, kToolFailed, Deleted("Draveth.exe"), Deleted("Pellox.dll"), kEntryDone}, {}, true},
    {"tool past 5 s is ended (a running one could not be deleted)", {"Draveth.exe"}, "MORVANE_DRAVETH_MS=20000", 1,
     {Missing("Pellox.dll"), kToolFailed, Deleted("Draveth.exe"), kEntryDone}, {}, true},
    {"preserved file in every spelling", {"TAMSEL.DAT", "Tamsel.dat.bak", "xTamsel.dat"}, "MORVANE_PELLOX_EXIT=", 1,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("TAMSEL.DAT"), Deleted("Tamsel.dat.bak"), Deleted("xTamsel.dat"), kEntryDone},
     {"TAMSEL.DAT"}, true},
    {"names Windows reads as the preserved file", {"Tamsel.dat.", "tamsel.dat  "}, "MORVANE_PELLOX_EXIT=", 1,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("tamsel.dat  "), Skipped("Tamsel.dat."), kEntryDone},
     {"Tamsel.dat.", "tamsel.dat  "}, true},
    {"read-only and open files", {"!a.txt", "b.txt", "~c.txt", "d.txt"}, "MORVANE_PELLOX_EXIT=", 1,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), NotDeleted("a.txt"), Deleted("b.txt"), NotDeleted("c.txt"), Deleted("d.txt"), kEntryDone},
     {"a.txt", "c.txt"}, false},
    {"entry already gone", {"Tamsel.dat"}, "MORVANE_PELLOX_EXIT=", 0,
     {Missing("Pellox.dll"), Missing("Draveth.exe"), Skipped("Tamsel.dat"), kEntryFailed}, {"Tamsel.dat"}, false},
    {"entry with a subkey stays", {}, "MORVANE_PELLOX_EXIT=", 2, {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryFailed}, {}, false},
    {"empty folder", {}, "MORVANE_PELLOX_EXIT=", 1, {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryDone}, {}, true},
};

} // namespace

TEST(Removal, EachScenarioLeavesWhatItMustAndLogsItInOrder)
{
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.what);
        TestFolder folder("Quarnel 2 install");
        std::vector<HANDLE> held;
        for (std::string name : scenario.files) {
            const char mark = name[0];
            name.erase(0, mark == '!' || mark == '~');
            folder.Add(name, mark == '!' ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
            if (mark == '~')
                held.push_back(CreateFileA(folder.PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        WriteUninstallString("-f\"" + folder.PathOf("Uninst.log") + "\"");
        HKEY subkey = nullptr;
        if (scenario.entry == 2)
            RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2\\Sub", &subkey);
        RegCloseKey(subkey);
        if (scenario.entry == 0)
            RemoveProductKey();
        _putenv(scenario.environment);
        const StandInRecord record;

        CUninstaller uninstaller(folder.Path().c_str());
        const DWORD started = GetTickCount();
        EXPECT_EQ(uninstaller.Execute(), scenario.result);
        const DWORD took = GetTickCount() - started;
        for (const char* unset : {"MORVANE_PELLOX_EXIT=", "MORVANE_DRAVETH_EXIT=", "MORVANE_DRAVETH_MS="})
            _putenv(unset);
        for (HANDLE file : held)
            CloseHandle(file);

        EXPECT_EQ(LogLines(uninstaller), scenario.log);
        EXPECT_EQ(folder.Names(), scenario.left);
        EXPECT_EQ(ProductKeyExists(), scenario.entry == 2);
        // A tool that does not end is waited for 5 s, then ended.
        EXPECT_TRUE(std::string(scenario.environment) != "MORVANE_DRAVETH_MS=20000" || (took >= 5000 && took < 15000)) << took;
        const auto has = [&](const char* name) { return std::count(scenario.files.begin(), scenario.files.end(), name) > 0; };
        Lines calls;
        if (has("Pellox.dll"))
            calls.push_back("Pellox.dll\tC:\\windows\\system32\\rundll32.exe \"" + folder.PathOf("Pellox.dll") + "\",DllUnregisterServer\thidden");
        if (has("Draveth.exe"))
            calls.push_back("Draveth.exe\t/Uninstall\thidden");
        EXPECT_EQ(record.Calls(), calls);
    }
}

// A missing folder only loses its entry; one that is not an absolute path would send the steps to the
// current directory, so it touches nothing at all.
TEST(Removal, FoldersThatAreNotThere)
{
    const TestFolder current("Quarnel 2 current");
    current.Add("Pellox.dll");
    current.Add("a.txt");
    SetCurrentDirectoryA(current.Path().c_str());
    const std::pair<const char*, Lines> folders[] = {{"C:\\Quarnel2 missing", {Missing("Pellox.dll"), Missing("Draveth.exe"), kEntryDone}},
                                                     {"", {}}, {"sub", {}}, {"C:sub", {}}, {"\\sub", {}}};
    for (const auto& [folder, log] : folders) {
        WriteUninstallString("-fUninst.log");
        CUninstaller uninstaller(folder);
        EXPECT_FALSE(uninstaller.Execute()) << folder;
        EXPECT_EQ(LogLines(uninstaller), log) << folder;
        EXPECT_EQ(ProductKeyExists(), log.empty()) << folder;
    }
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(current.Names(), (Lines{"Pellox.dll", "a.txt"}));
}
