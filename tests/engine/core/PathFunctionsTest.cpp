// RemoveFileSpec and AppendPath over the real shell functions.

#include "engine/Uninstaller.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

TEST(PathFunctions, RemoveFileSpecDropsLastElement)
{
    const struct {
        const char* path;
        bool removed;
        const char* expected;
    } cases[] = {
        {"C:\\Program Files\\Q\\x.log", true, "C:\\Program Files\\Q"},
        {"C:\\x.log", true, "C:\\"},
        {"C:\\A\\", true, "C:\\A"},
        {"C:\\", false, "C:\\"},
        {"x.log", true, ""},
        {"", false, ""},
        {"\\\\srv\\share\\x.log", true, "\\\\srv\\share"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(RemoveFileSpec(path), c.removed) << c.path;
        EXPECT_EQ(path, c.expected) << c.path;
    }
}

TEST(PathFunctions, PathFunctionsAreDoubleByteAware)
{
    // Under 1252 the trail byte 0x5C of "ソ" is a backslash of its own.
    const bool shiftJis = GetACP() == 932;
    std::string path = "C:\\a\\ソ";
    EXPECT_TRUE(RemoveFileSpec(path));
    EXPECT_EQ(path, shiftJis ? "C:\\a" : "C:\\a\\\x83");

    path = "C:\\ソ";
    EXPECT_TRUE(AppendPath(path, "Tamsel.dat"));
    EXPECT_EQ(path, shiftJis ? "C:\\ソ\\Tamsel.dat" : "C:\\ソTamsel.dat");
}

TEST(PathFunctions, AppendPathJoinsWithOneBackslash)
{
    const struct {
        const char* path;
        const char* element;
        const char* expected;
    } cases[] = {
        {"C:\\Q", "Pellox.dll", "C:\\Q\\Pellox.dll"},
        {"C:\\Q\\", "Pellox.dll", "C:\\Q\\Pellox.dll"},
        {"C:\\Q", "\\Pellox.dll", "C:\\Q\\Pellox.dll"},
        {"C:\\", "x.log", "C:\\x.log"},
        {"", "rundll32.exe", "rundll32.exe"},
        {"C:\\Q\\sub", "..\\Draveth.exe", "C:\\Q\\Draveth.exe"},
        {"\\\\srv\\share", "*", "\\\\srv\\share\\*"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_TRUE(AppendPath(path, c.element)) << c.path << " + " << c.element;
        EXPECT_EQ(path, c.expected) << c.path << " + " << c.element;
    }
}

TEST(PathFunctions, AppendPathFillsLongFolderToTheLimit)
{
    // A folder near MAX_PATH: the buffer must hold the whole joined path.
    const std::string folder = "C:\\" + std::string(240, 'f');
    std::string path = folder;
    EXPECT_TRUE(AppendPath(path, "Tamsel.dat"));
    EXPECT_EQ(path, folder + "\\Tamsel.dat");
}

} // namespace
