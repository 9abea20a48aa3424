// IsProtectedFolder: drive roots, share roots and the Windows folder with everything below it are
// refused however they are spelled; ordinary folders are not.

#include "engine/Uninstaller.h"
#include "tests/engine/PlatformDouble.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The Wine prefix keeps Windows in C:\windows.
TEST(ProtectedFolder, SystemFoldersAndRootsInAnySpelling)
{
    const struct {
        const char* folder;
        bool isProtected;
    } cases[] = {
        {"C:\\", true},
        {"c:\\", true},
        {"C:/", true},
        {"C:\\.", true},
        {"C:\\Q\\..", true},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\", true},
        {"\\\\server\\share\\Q\\..", true},
        {"//server/share", true},
        {"\\\\server", true},
        {"\\\\server\\\\share", true},
        {"C:\\Windows", true},
        {"C:\\Windows\\", true},
        {"C:\\WINDOWS", true},
        {"c:\\wInDoWs\\system32", true},
        {"C:\\Windows\\System32", true},
        {"C:\\Windows\\SysWOW64", true},
        {"C:\\Windows\\Sysnative", true},
        {"C:\\Windows\\x\\..", true},
        {"C:\\Windows.", true},
        {"C:/Windows/System32", true},
        {"C:\\\\Windows\\\\System32", true},
        {"C:\\Program Files\\..\\Windows\\Temp", true},
        {"C:\\Windows\\ソ", true},
        {"\\\\?\\C:\\Program Files\\Q", true},  // device paths are never install folders
        {"\\\\.\\C:\\Q", true},
        {"\\\\localhost\\C$\\Windows", true},  // administrative shares name whole drives
        {"\\\\server\\ADMIN$\\Q", true},
        {"C:\\Windows::$INDEX_ALLOCATION", true},  // a folder's stream is the folder
        {"C:\\Q\\x:y", true},
        {"\\\\server\\share$x\\Q", false},
        {"", true},
        {"C:\\Windowsx", false},
        {"C:\\Windows2\\System32", false},
        {"C:\\Program Files\\x", false},
        {"C:\\Program Files\\Windows", false},
        {"C:\\Program Files\\ソ", false},
        {"C:\\Q\\Windows\\..\\x", false},
        {"D:\\Windows", false},
        {"\\\\server\\share\\Q", false},
        {"//server/share/Q", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsProtectedFolder(c.folder), c.isProtected) << c.folder;
}

TEST(ProtectedFolder, UnobtainableFullPathCountsAsProtected)
{
    for (const char* failing : {"GetFullPathNameA", "GetWindowsDirectoryA"}) {
        PlatformDouble platform;
        platform.Fail(failing, 0, ERROR_FILENAME_EXCED_RANGE);
        EXPECT_TRUE(IsProtectedFolder("C:\\Program Files\\Q")) << failing;
    }
}

// A Windows folder whose last character has the trail byte 0x5C ("C:\ソ" under code page 932).
class WindowsFolderInSo : public PlatformDouble {
public:
    UINT GetWindowsDirectoryA(char* buffer, UINT size) override
    {
        const char folder[] = "C:\\ソ";
        if (size < sizeof folder)
            return sizeof folder;
        std::memcpy(buffer, folder, sizeof folder);
        return sizeof folder - 1;
    }
};

TEST(ProtectedFolder, TrailByteBackslashIsNoSeparator)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "\"ソ\" is a double-byte character only under code page 932";
    WindowsFolderInSo platform;
    EXPECT_TRUE(IsProtectedFolder("C:\\ソ"));
    EXPECT_TRUE(IsProtectedFolder("C:\\ソ\\System32"));
    EXPECT_FALSE(IsProtectedFolder("C:\\ソx"));
    EXPECT_FALSE(IsProtectedFolder("C:\\ソソ\\x"));
    // The server's name ends in the same trail byte: the share root is found all the same.
    EXPECT_TRUE(IsProtectedFolder("\\\\serverソ\\share"));
    EXPECT_FALSE(IsProtectedFolder("\\\\serverソ\\share\\Q"));
}

} // namespace
