// Every platform call of a whole uninstall (LocateInstallFolder, then Execute) made to fail in turn,
// at each position where it is called: the run must not crash, must close every handle it opened,
// must write the lines and give the result the rules give for that failure, and must never delete
// the preserved data file or anything in a subfolder.

#include "engine/LogTexts.h"
#include "engine/Uninstaller.h"
#include "tests/engine/PlatformDouble.h"
#include "tests/support/ProductInstall.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The plain files of the installation, in the install folder; "sub\\inner.txt" lies in a subfolder.
const std::vector<std::string> kPlainFiles = {"Pellox.dll", "Draveth.exe", "a.txt", "b.txt", "Tamsel.dat"};
const char kPreserved[] = "Tamsel.dat";
const char kSubfolderFile[] = "sub\\inner.txt";

// A complete installation under the temporary folder and its uninstall key, restored before each run.
class Installation : public ProductInstallation {
public:
    // No "-f" in the folder's name: the first "-f" of the entry decides.
    Installation() : ProductInstallation("morvane-injected") { AddFolder("sub"); }

    void Restore() const
    {
        CopyStandIns();
        for (const std::string& name : kPlainFiles) {
            if (name != "Pellox.dll" && name != "Draveth.exe")
                AddFile(name, name);
        }
        AddFile(kSubfolderFile, kSubfolderFile);
        WriteUninstallEntry();
    }
};

// The double, except that a wait lets the child end before it reports its result (failed or not),
// so that a failed wait does not leave a child holding files that the next step deletes.
class FaultPlatform : public PlatformDouble {
public:
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override
    {
        Win32Platform().WaitForSingleObject(handle, milliseconds);
        return PlatformDouble::WaitForSingleObject(handle, milliseconds);
    }
};

struct RunResult {
    bool located = false;
    std::string folder;
    bool executed = false;
    std::vector<std::string> log;
    std::vector<std::string> calls;
    std::vector<std::string> openHandles;
};

const char kUntouchedFolder[] = "(untouched)";

// One uninstall as the dialog does it, with one call made to fail (none when function is empty).
RunResult RunUninstall(const std::string& function, int occurrence)
{
    RunResult run;
    FaultPlatform platform;
    if (!function.empty())
        platform.Fail(function, occurrence);
    run.folder = kUntouchedFolder;
    run.located = LocateInstallFolder(run.folder);
    if (run.located) {
        CUninstaller uninstaller(run.folder.c_str());
        run.executed = uninstaller.Execute();
        std::string line;
        for (int i = 0; uninstaller.GetLogLine(i, line); ++i)
            run.log.push_back(line);
    }
    run.calls = platform.Calls();
    run.openHandles = platform.OpenHandles();
    return run;
}

std::string FunctionOf(const std::string& call)
{
    return call.substr(0, call.find('('));
}

// The last double-quoted text of a recorded call: the name a search returned.
std::string LastQuoted(const std::string& call)
{
    const std::size_t end = call.rfind('"');
    const std::size_t begin = call.rfind('"', end - 1);
    return call.substr(begin + 1, end - begin - 1);
}

// The names the directory search returned, in order, from the recorded calls.
std::vector<std::string> SearchEntries(const std::vector<std::string>& calls)
{
    std::vector<std::string> entries;
    for (const std::string& call : calls) {
        const std::string function = FunctionOf(call);
        if (function == "FindFirstFileA" ? call.find("INVALID_HANDLE_VALUE") == std::string::npos
                                         : function == "FindNextFileA" && call.find(") = 0") == std::string::npos)
            entries.push_back(LastQuoted(call));
    }
    return entries;
}

// What one failing call must do to the run, by the rules of the step it belongs to.
struct Expectation {
    enum Component { kRan, kFailed, kMissing };
    enum Search { kSearched, kNotSearched };
    bool located = true;
    bool folderIsToken = false;       // the file name stays on the folder
    Component infoTip = kRan;
    Component tool = kRan;
    Search search = kSearched;
    std::size_t handledEntries = ~std::size_t(0);  // entries the search returned before it ended
    int failedDeletion = -1;          // which deletion (0-based) fails
    bool entryDeleted = true;
};

enum class Phase { kLocate, kInfoTip, kTool, kFiles, kEntry };

class FaultInjection : public testing::Test {
protected:
    static void SetUpTestSuite() { s_installation = new Installation; }
    static void TearDownTestSuite()
    {
        delete s_installation;
        s_installation = nullptr;
    }

    const Installation& Install() const { return *s_installation; }

    // What happens to each plain file the search hands over before it ends, in search order.
    enum class FileOutcome { kSkipped, kDeleted, kNotDeleted };
    static std::vector<std::pair<std::string, FileOutcome>> FileOutcomes(const Expectation& expected,
                                                                       const std::vector<std::string>& entries)
    {
        std::vector<std::pair<std::string, FileOutcome>> outcomes;
        if (!expected.located || expected.search != Expectation::kSearched)
            return outcomes;
        int deletion = 0;
        for (std::size_t i = 0; i < entries.size() && i < expected.handledEntries; ++i) {
            const std::string& name = entries[i];
            if (name == "." || name == ".." || name == "sub")
                continue;
            if (name == kPreserved)
                outcomes.push_back({name, FileOutcome::kSkipped});
            else
                outcomes.push_back({name, deletion++ == expected.failedDeletion ? FileOutcome::kNotDeleted
                                                                                : FileOutcome::kDeleted});
        }
        return outcomes;
    }

    // The lines the run must write, built from the log texts and the order of the search.
    static std::vector<std::string> ExpectedLog(const Expectation& expected, const std::vector<std::string>& entries)
    {
        std::vector<std::string> lines;
        const auto component = [](Expectation::Component outcome, const char* ran, const char* failed, const char* name) {
            if (outcome == Expectation::kMissing)
                return FormatText(kLogFileMissing, name);
            return std::string(outcome == Expectation::kRan ? ran : failed);
        };
        lines.push_back(component(expected.infoTip, kLogInfoTipUnregistered, kLogInfoTipNotUnregistered, "Pellox.dll"));
        lines.push_back(component(expected.tool, kLogToolUnregistered, kLogToolNotUnregistered, "Draveth.exe"));
        for (const auto& [name, outcome] : FileOutcomes(expected, entries)) {
            if (outcome == FileOutcome::kSkipped)
                lines.push_back(FormatText(kLogFileSkipped, name.c_str()));
            else
                lines.push_back(FormatText(kLogFileDeletion, name.c_str(),
                                           outcome == FileOutcome::kDeleted ? kLogDeleted : kLogFileNotDeleted));
        }
        lines.push_back(FormatText(kLogEntryDeletion, expected.entryDeleted ? kLogDeleted : kLogEntryNotDeleted));
        return lines;
    }

    void CheckRun(const RunResult& run, const Expectation& expected, const std::vector<std::string>& entries) const
    {
        EXPECT_TRUE(run.openHandles.empty()) << testing::PrintToString(run.openHandles);
        ASSERT_EQ(run.located, expected.located);
        EXPECT_TRUE(Install().Exists(kPreserved));
        EXPECT_TRUE(Install().Exists(kSubfolderFile));
        if (!expected.located) {
            EXPECT_EQ(run.folder, kUntouchedFolder);
            EXPECT_TRUE(ProductKeyExists());
            for (const std::string& name : kPlainFiles)
                EXPECT_TRUE(Install().Exists(name)) << name;
            return;
        }
        EXPECT_EQ(run.folder, expected.folderIsToken ? Install().LogFile() : Install().Path());
        EXPECT_EQ(run.log, ExpectedLog(expected, entries));
        const bool filesDeleted = expected.search != Expectation::kNotSearched && expected.failedDeletion < 0;
        EXPECT_EQ(run.executed, filesDeleted && expected.entryDeleted);
        EXPECT_EQ(ProductKeyExists(), !expected.entryDeleted);
        std::set<std::string> deleted;
        for (const auto& [name, outcome] : FileOutcomes(expected, entries)) {
            if (outcome == FileOutcome::kDeleted)
                deleted.insert(name);
        }
        for (const std::string& name : kPlainFiles)
            EXPECT_EQ(Install().Exists(name), deleted.count(name) == 0) << name;
    }

    static Installation* s_installation;
};

Installation* FaultInjection::s_installation = nullptr;

// The rule for the occurrence-th call of a function, failing in the given step. The call line
// tells apart the joins of one step.
Expectation ExpectationFor(Phase phase, const std::string& function, const std::string& call, int occurrence,
                           int perFileJoin)
{
    Expectation expected;
    const auto component = [&](Expectation::Component outcome) {
        (phase == Phase::kInfoTip ? expected.infoTip : expected.tool) = outcome;
    };
    // Closing a handle and waiting are not judged: their results do not enter any outcome.
    if (function == "RegCloseKey" || function == "CloseHandle" || function == "FindClose" ||
        function == "WaitForSingleObject")
        return expected;

    switch (phase) {
    case Phase::kLocate:
        if (function == "PathRemoveFileSpecA") {
            // The token stays whole: a folder named like the log file, which holds nothing.
            expected.folderIsToken = true;
            expected.infoTip = expected.tool = Expectation::kMissing;
            expected.search = Expectation::kNotSearched;
        } else {
            expected.located = false;
        }
        break;
    case Phase::kInfoTip:
    case Phase::kTool:
        if (function == "PathFileExistsA" || call.find("\"Pellox.dll\")") != std::string::npos ||
            call.find("\"Draveth.exe\")") != std::string::npos)
            component(Expectation::kMissing);
        else
            component(Expectation::kFailed);
        break;
    case Phase::kFiles:
        if (function == "GetFullPathNameA" || function == "GetWindowsDirectoryA" || function == "FindFirstFileA")
            expected.search = Expectation::kNotSearched;
        else if (function == "PathAppendA" && call.find("\"*.*\")") != std::string::npos)
            expected.search = Expectation::kNotSearched;  // no pattern, no search
        else if (function == "PathAppendA")
            expected.failedDeletion = perFileJoin;  // no path, no deletion: the failure line
        else if (function == "DeleteFileA")
            expected.failedDeletion = occurrence - 1;
        else if (function == "FindNextFileA")
            expected.handledEntries = static_cast<std::size_t>(occurrence);
        else
            ADD_FAILURE() << "no rule for " << call;
        break;
    case Phase::kEntry:
        expected.entryDeleted = false;
        break;
    }
    return expected;
}

TEST_F(FaultInjection, CleanRunRemovesEverythingButThePreservedFileAndTheSubfolder)
{
    Install().Restore();
    const RunResult run = RunUninstall("", 0);
    const std::vector<std::string> entries = SearchEntries(run.calls);
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()),
              (std::set<std::string>{".", "..", "sub", "Pellox.dll", "Draveth.exe", "a.txt", "b.txt", "Tamsel.dat"}));
    CheckRun(run, Expectation(), entries);
    EXPECT_TRUE(run.executed);
}

TEST_F(FaultInjection, EveryFailingCallKeepsTheRulesAndTheFiles)
{
    Install().Restore();
    const RunResult clean = RunUninstall("", 0);
    ASSERT_TRUE(clean.executed);

    // Where each call of the clean run stands: which step, which occurrence of its function.
    const std::vector<std::string> entries = SearchEntries(clean.calls);
    std::map<std::string, int> counts;
    Phase phase = Phase::kLocate;
    int perFileJoins = 0;
    struct Target {
        std::string call;
        std::string function;
        int occurrence;
        Expectation expected;
    };
    std::vector<Target> targets;
    for (const std::string& call : clean.calls) {
        const std::string function = FunctionOf(call);
        if (phase == Phase::kLocate && function == "PathAppendA" && call.find("\"Pellox.dll\")") != std::string::npos)
            phase = Phase::kInfoTip;
        else if (phase == Phase::kInfoTip && function == "PathAppendA" && call.find("\"Draveth.exe\")") != std::string::npos)
            phase = Phase::kTool;
        else if (phase == Phase::kTool && function == "GetFullPathNameA")
            phase = Phase::kFiles;
        else if (phase == Phase::kFiles && function == "RegOpenKeyExA")
            phase = Phase::kEntry;

        const int occurrence = ++counts[function];
        int perFileJoin = -1;
        if (phase == Phase::kFiles && function == "PathAppendA" && call.find("\"*.*\")") == std::string::npos)
            perFileJoin = perFileJoins++;
        if (function == "PathFindFileNameA" || function == "GetLastError")
            continue;  // cannot fail
        targets.push_back({call, function, occurrence, ExpectationFor(phase, function, call, occurrence, perFileJoin)});
    }
    ASSERT_EQ(phase, Phase::kEntry) << "the clean run did not reach the uninstall entry";

    for (const Target& target : targets) {
        SCOPED_TRACE(target.function + " #" + std::to_string(target.occurrence) + ": " + target.call);
        Install().Restore();
        const RunResult run = RunUninstall(target.function, target.occurrence);
        CheckRun(run, target.expected, entries);
    }
    std::printf("[ fault    ] %zu calls made to fail one at a time\n", targets.size());
}

} // namespace
