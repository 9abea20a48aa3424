// The install folder as the program finds it in the product's UninstallString, good and hostile
// values alike: the folder, or not installed (the caller's text then stays as it was).
#include "engine/Uninstaller.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const char kNotInstalled[] = "<not installed>";

struct Value {
    std::string data;
    DWORD type;
    std::string folder;
};

} // namespace

TEST(UninstallString, GivesTheFolderOfThePathAfterTheFirstSwitchOrNothing)
{
    const bool doubleByte = GetACP() == 932;
    const std::string longFolder = "C:\\" + std::string(1012, 'a');  // with "-f" and "\x.log": 1023 bytes
    const Value values[] = {
        {"C:\\Windows\\Quarnel2Setup.exe -f\"C:\\Program Files\\USB Quarnel2\\Uninst.log\"", REG_SZ, "C:\\Program Files\\USB Quarnel2"},
        {"-f \t C:\\A\\b.log -f\"C:\\B\\c.log\"", REG_SZ, "C:\\A"},
        {"x-fC:\\A\\b.log -f\"C:\\B\\c.log\"", REG_SZ, "C:\\A"},
        {"-f\"C:\\A B\\c.log", REG_SZ, "C:\\A B"},
        {"-fC:\\x.log", REG_SZ, "C:\\"},
        {"-f\\\\srv\\share\\A\\x.log", REG_SZ, "\\\\srv\\share\\A"},
        {"-fC:\\ソ\\ソ", REG_SZ, doubleByte ? "C:\\ソ" : "C:\\\x83\\\\\x83"},
        {"-f" + longFolder + "\\x.log", REG_SZ, longFolder},
        {"-f" + longFolder + "\\xy.log", REG_SZ, kNotInstalled},
        {"-fC:\\A\\b.log", REG_EXPAND_SZ, "C:\\A"},
        {std::string("-fC:\\A\\b.log\0-fC:\\B\\c.log\0", 26), REG_MULTI_SZ, "C:\\A"},
        {"-fC:\\A\\b.log", REG_BINARY, "C:\\A"},
        {"-FC:\\A\\b.log", REG_SZ, kNotInstalled},
        {"C:\\Setup.exe -f \t", REG_SZ, kNotInstalled},
        {"-f\r\nC:\\A\\b.log", REG_SZ, kNotInstalled},
        {"-f\"\"", REG_SZ, kNotInstalled},
        {"-fUninst.log", REG_SZ, kNotInstalled},
        {"-fsub\\Uninst.log", REG_SZ, kNotInstalled},
        {"-fC:sub\\Uninst.log", REG_SZ, kNotInstalled},
        {"-f\\sub\\Uninst.log", REG_SZ, kNotInstalled},
        {"-f\\\\?\\C:\\A\\x.log", REG_SZ, kNotInstalled},
        {"-f\\\\.\\C:\\A\\x.log", REG_SZ, kNotInstalled},
        {"-fC:", REG_DWORD, kNotInstalled},
    };
    for (const Value& value : values) {
        SCOPED_TRACE(value.data);
        WriteUninstallString(value.data, value.type);
        std::string folder = kNotInstalled;
        const bool found = LocateInstallFolder(folder);
        EXPECT_EQ(found, value.folder != kNotInstalled);
        EXPECT_EQ(folder, value.folder);
    }
    RemoveProductKey();
    std::string folder = kNotInstalled;
    EXPECT_FALSE(LocateInstallFolder(folder));
    EXPECT_EQ(folder, kNotInstalled);
}
