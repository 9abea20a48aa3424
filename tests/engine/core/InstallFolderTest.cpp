// LocateInstallFolder over the formats of the product's UninstallString, read from the uninstall
// key that the test writes under HKEY_LOCAL_MACHINE.

#include "engine/Uninstaller.h"
#include "tests/engine/core/TestKeys.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const char kUnchanged[] = "caller's text";

struct Located {
    bool found;
    std::string folder;
};

Located Locate()
{
    std::string folder = kUnchanged;
    const bool found = LocateInstallFolder(folder);
    return {found, folder};
}

class InstallFolder : public testing::Test {
protected:
    TestKey m_entry{HKEY_LOCAL_MACHINE, UninstallKeyPath};

    Located LocateFrom(const std::string& uninstallString)
    {
        m_entry.SetString("", "UninstallString", uninstallString);
        return Locate();
    }
};

TEST_F(InstallFolder, TakesFolderOfPathAfterFirstSwitch)
{
    const struct {
        const char* value;
        const char* folder;  // null: not found, caller's string unchanged
    } cases[] = {
        {"\"C:\\Q\\uninst.exe\" -f \"C:\\Program Files\\Q 2\\x.log\"", "C:\\Program Files\\Q 2"},
        {"\"C:\\Q\\uninst.exe\" -f\"C:\\Program Files\\Q 2\\x.log\"", "C:\\Program Files\\Q 2"},
        {"uninst.exe -f C:\\Q\\x.log trailing words", "C:\\Q"},
        {"uninst.exe -fC:\\Q\\x.log", "C:\\Q"},
        {"uninst.exe -f \t C:\\Q\\x.log\tmore", "C:\\Q"},
        {"uninst.exe -f \"C:\\Q 2\\x.log", "C:\\Q 2"},  // no closing quote: runs to the end
        {"uninst.exe -f \"C:\\Q\\sub\\x.log\" -f \"D:\\Other\\y.log\"", "C:\\Q\\sub"},
        {"x-fC:\\A\\b.log -f\"C:\\B\\c.log\"", "C:\\A"},  // "-f" inside an earlier word counts
        {"uninst.exe -f C:\\x.log", "C:\\"},
        {"uninst.exe -f\"C:\\x.log\"", "C:\\"},
        {"uninst.exe -f \\\\server\\share\\Q\\x.log", "\\\\server\\share\\Q"},
        {"uninst.exe -f \"\\\\server\\share\\x.log\"", "\\\\server\\share"},
        {"-f C:\\Q\\", "C:\\Q"},
        {"-f c:/Q/sub\\x.log", "c:/Q/sub"},  // "/" counts as "\" for the absolute test only
        {"uninst.exe -F \"C:\\Q\\x.log\"", nullptr},
        {"uninst.exe /f C:\\Q\\x.log", nullptr},
        {"uninst.exe -f", nullptr},
        {"uninst.exe -f  \t ", nullptr},
        {"uninst.exe - f C:\\Q\\x.log", nullptr},
        {"", nullptr},
        // An empty or relative folder would send the removal to the current directory.
        {"uninst.exe -f \"\" C:\\Q\\x.log", nullptr},
        {"uninst.exe -f x.log", nullptr},
        {"uninst.exe -f sub\\x.log", nullptr},
        {"uninst.exe -f \"..\\x.log\"", nullptr},
        {"uninst.exe -f C:sub\\x.log", nullptr},
        {"uninst.exe -f \\Q\\x.log", nullptr},
        {"uninst.exe -f \\\\?\\C:\\Q\\x.log", nullptr},
        {"uninst.exe -f \\\\.\\C:\\Q\\x.log", nullptr},
        {"uninst.exe -f \\\\server\\x.log", nullptr},
        {"uninst.exe -f \\\\\\share\\x.log", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const Located located = LocateFrom(c.value);
        EXPECT_EQ(located.found, c.folder != nullptr);
        EXPECT_EQ(located.folder, c.folder ? c.folder : kUnchanged);
    }
}

TEST_F(InstallFolder, DoubleByteFolderKeepsItsLastCharacter)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "\"ソ\" is a double-byte character only under code page 932";
    const struct {
        const char* value;
        const char* folder;
    } cases[] = {
        {"uninst.exe -f \"C:\\製品ソ\\x.log\"", "C:\\製品ソ"},
        {"uninst.exe -f \\\\serverソ\\share\\x.log", "\\\\serverソ\\share"},
    };
    for (const auto& c : cases) {
        const Located located = LocateFrom(c.value);
        EXPECT_TRUE(located.found) << c.value;
        EXPECT_EQ(located.folder, c.folder) << c.value;
    }
}

TEST_F(InstallFolder, ValueMustFitInBuffer)
{
    const std::string start = "uninst.exe -f C:\\Q\\x.log ";
    const std::string fits = start + std::string(1023 - start.size(), 'p');
    const std::string tooLong = fits + "p";
    EXPECT_TRUE(LocateFrom(fits).found);
    const Located located = LocateFrom(tooLong);
    EXPECT_FALSE(located.found);
    EXPECT_EQ(located.folder, kUnchanged);
}

TEST_F(InstallFolder, MissingValueOrEntryIsNotFound)
{
    m_entry.SetString("", "DisplayName", "USB Quarnel2");
    Located located = Locate();
    EXPECT_FALSE(located.found);
    EXPECT_EQ(located.folder, kUnchanged);

    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKeyPath), ERROR_SUCCESS);
    located = Locate();
    EXPECT_FALSE(located.found);
    EXPECT_EQ(located.folder, kUnchanged);
}

} // namespace
