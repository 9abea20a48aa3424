// The log list of CUninstaller: AddLog formats without a length limit, GetLogLine copies by index.

#include "engine/Uninstaller.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(LogList, FormatWithoutConversionsIsAddedUnchanged)
{
    CUninstaller uninstaller("C:\\Q");
    uninstaller.AddLog("アンインストールを開始します。");
    std::string line;
    ASSERT_TRUE(uninstaller.GetLogLine(0, line));
    EXPECT_EQ(line, "\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x82\xF0\x8A\x4A\x8E\x6E"
                    "\x82\xB5\x82\xDC\x82\xB7\x81\x42");
}

TEST(LogList, StringConversionsAreFilledIn)
{
    CUninstaller uninstaller("C:\\Q");
    uninstaller.AddLog("%sを削除しました。", "C:\\Q\\ソ.txt");
    uninstaller.AddLog("[%s][%s]", "", "b");
    std::string line;
    ASSERT_TRUE(uninstaller.GetLogLine(0, line));
    EXPECT_EQ(line, std::string("C:\\Q\\ソ.txt") + "を削除しました。");
    ASSERT_TRUE(uninstaller.GetLogLine(1, line));
    EXPECT_EQ(line, "[][b]");
}

TEST(LogList, LongLineIsStoredWhole)
{
    const std::string path = "C:\\" + std::string(5000, 'p') + "\\ソ";
    CUninstaller uninstaller("C:\\Q");
    uninstaller.AddLog("%sを削除できませんでした。(%s)", path.c_str(), "5");
    std::string line;
    ASSERT_TRUE(uninstaller.GetLogLine(0, line));
    EXPECT_EQ(line, path + "を削除できませんでした。(5)");
}

TEST(LogList, LinesComeBackInOrderAndOutOfRangeLeavesStringAlone)
{
    CUninstaller uninstaller("C:\\Q");
    std::string line = "before";
    EXPECT_FALSE(uninstaller.GetLogLine(0, line));
    EXPECT_EQ(line, "before");

    uninstaller.AddLog("first");
    uninstaller.AddLog("%s", "second");
    uninstaller.AddLog("third");
    const char* expected[] = {"first", "second", "third"};
    for (int index = 0; index < 3; ++index) {
        ASSERT_TRUE(uninstaller.GetLogLine(index, line)) << index;
        EXPECT_EQ(line, expected[index]);
        // Reading does not consume.
        ASSERT_TRUE(uninstaller.GetLogLine(index, line)) << index;
        EXPECT_EQ(line, expected[index]);
    }

    for (const int index : {-1, 3, 4, INT_MIN, INT_MAX}) {
        line = "kept";
        EXPECT_FALSE(uninstaller.GetLogLine(index, line)) << index;
        EXPECT_EQ(line, "kept") << index;
    }
}

} // namespace
