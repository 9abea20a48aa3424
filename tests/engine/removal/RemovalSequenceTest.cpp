// The removal sequence: all four steps, once each, in order, against a real folder, the real
// registry and the stand-in components under Wine; the double only watches the calls.
#include "engine/Uninstaller.h"
#include "tests/engine/PlatformDouble.h"
#include "tests/engine/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

namespace {

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// The step (1 to 4) that a recorded call belongs to, or 0 for calls every step makes.
int StepOf(const std::string& call)
{
    if (StartsWith(call, "PathFileExistsA") || StartsWith(call, "CreateProcessA"))
        return Contains(call, "Pellox.dll") ? 1 : Contains(call, "Draveth.exe") ? 2 : 0;
    if (StartsWith(call, "Find") || StartsWith(call, "DeleteFileA"))
        return 3;
    if (StartsWith(call, "Reg"))
        return 4;
    return 0;
}

// The steps in the order their calls came, each run of calls of one step counted once.
std::vector<int> StepOrder(const PlatformDouble& platform)
{
    std::vector<int> steps;
    for (const std::string& call : platform.Calls()) {
        const int step = StepOf(call);
        if (step != 0 && (steps.empty() || steps.back() != step))
            steps.push_back(step);
    }
    return steps;
}

} // namespace

TEST(Execute, RunsAllFourStepsInOrderAndJudgesByTheLastTwo)
{
    struct Case {
        const char* name;
        bool components;          // Pellox.dll and Draveth.exe in the folder
        const char* pelloxExit;   // rundll32 ends with this code; null: the export returns
        const char* dravethExit;  // null: the tool ends with 0
        bool readOnlyFile;        // makes the file step fail
        bool keyPresent;          // else the entry step fails
        bool result;
    } cases[] = {
        {"every step succeeds", true, nullptr, nullptr, false, true, true},
        {"unregistration fails", true, "3", "1", false, true, true},
        {"components missing", false, nullptr, nullptr, false, true, true},
        {"file deletion fails", true, nullptr, nullptr, true, true, false},
        {"entry deletion fails", true, nullptr, nullptr, false, false, false},
        {"every step fails", true, "3", "1", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder("removal-sequence");
        if (c.components)
            folder.CopyStandIns();
        // Upper-case names: the search returns them in this order however it sorts.
        folder.AddFile("Readme.txt");
        folder.AddFile("Settings.ini", "data", c.readOnlyFile ? FILE_ATTRIBUTE_READONLY : 0);
        folder.AddFile("Tamsel.dat", "user data");
        RemoveProductKey();
        if (c.keyPresent)
            CreateProductKey("\"" + folder.PathOf("Draveth.exe") + "\" -f \"" + folder.PathOf("Tamsel.dat") + "\"");
        ScopedVariable pelloxExit("MORVANE_PELLOX_EXIT", c.pelloxExit);
        ScopedVariable dravethExit("MORVANE_DRAVETH_EXIT", c.dravethExit);

        PlatformDouble platform;
        CUninstaller uninstaller(folder.Path().c_str());
        EXPECT_EQ(c.result, uninstaller.Execute());

        Lines expected;
        if (!c.components) {
            expected = {"ファイル'Pellox.dll'は存在しません。", "ファイル'Draveth.exe'は存在しません。"};
        } else {
            expected.push_back(c.pelloxExit ? "InfoTipの登録が解除されませんでした。" : "InfoTipの登録が解除されました。");
            expected.push_back(c.dravethExit ? "Dravethの登録が解除されませんでした。" : "Dravethの登録が解除されました。");
            expected.push_back(DeletedLine("Draveth.exe"));
            expected.push_back(DeletedLine("Pellox.dll"));
        }
        expected.push_back(DeletedLine("Readme.txt"));
        expected.push_back(c.readOnlyFile ? NotDeletedLine("Settings.ini") : DeletedLine("Settings.ini"));
        expected.push_back(SkippedLine("Tamsel.dat"));
        expected.push_back(c.keyPresent ? kEntryDeletedLine : kEntryNotDeletedLine);
        EXPECT_EQ(expected, LogOf(uninstaller));

        EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), StepOrder(platform));
        EXPECT_EQ(c.components ? 2 : 0, platform.CountOf("CreateProcessA"));
        EXPECT_EQ(1, platform.CountOf("FindFirstFileA"));
        EXPECT_EQ(1, platform.CountOf("RegDeleteKeyExA"));
        EXPECT_TRUE(platform.OpenHandles().empty());
        EXPECT_EQ((c.readOnlyFile ? Lines{"Settings.ini", "Tamsel.dat"} : Lines{"Tamsel.dat"}), folder.Names());
        EXPECT_FALSE(ProductKeyExists());
    }
}

// Every step resolves its file names against the folder: one that is empty or relative would aim
// them at the current directory, so the object touches nothing at all.
TEST(Execute, FolderThatIsNotAnAbsolutePathTouchesNothing)
{
    TestFolder current("removal-current");
    current.CopyStandIns();
    current.AddFile("Readme.txt");
    current.AddFolder("Product");
    current.AddFile("Product\\Readme.txt");
    const Lines before = current.Names();
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    CreateProductKey("Draveth.exe -f Tamsel.dat");

    for (const char* folder : {"", ".", "Product", "Product\\", ".\\Product", "..", "C:Product", "C:",
                               "\\Product", "/Product", "\\\\?\\C:\\Product", "\\\\.\\C:"}) {
        SCOPED_TRACE(folder);
        PlatformDouble platform;
        CUninstaller uninstaller(folder);
        EXPECT_FALSE(uninstaller.Execute());
        EXPECT_EQ(Lines{}, platform.Calls());
        EXPECT_EQ(Lines{}, LogOf(uninstaller));
    }

    SetCurrentDirectoryA(previous);
    EXPECT_EQ(before, current.Names());
    EXPECT_EQ(Lines{"Readme.txt"}, current.Names("Product"));
    EXPECT_TRUE(ProductKeyExists());
    RemoveProductKey();
}
