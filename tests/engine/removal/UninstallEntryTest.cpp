// Deleting the product's uninstall key, against the real registry under Wine.
#include "engine/Uninstaller.h"
#include "tests/engine/PlatformDouble.h"
#include "tests/engine/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

namespace {

bool UninstallKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string UninstallStringOfProduct()
{
    char value[256] = "";
    DWORD size = sizeof value;
    RegGetValueA(HKEY_LOCAL_MACHINE, kProductKey, "UninstallString", RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

} // namespace

TEST(DeleteUninstallEntry, DeletesTheProductKeyWhenItCan)
{
    enum Setup { Present, Gone, WithSubkey };
    struct Case {
        const char* name;
        Setup setup;
        bool result;
        const char* line;
        const char* deleteCall;
    } cases[] = {
        {"key present", Present, true, kEntryDeletedLine, "RegDeleteKeyExA(k5, \"USB Quarnel2\", 0x0, 0) = 0"},
        {"key already gone", Gone, false, kEntryNotDeletedLine, "RegDeleteKeyExA(k5, \"USB Quarnel2\", 0x0, 0) = 2"},
        {"key holding a subkey", WithSubkey, false, kEntryNotDeletedLine,
         "RegDeleteKeyExA(k5, \"USB Quarnel2\", 0x0, 0) = 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveProductKey();
        if (c.setup != Gone)
            CreateProductKey("C:\\Product\\Draveth.exe -f C:\\Product\\Tamsel.dat");
        if (c.setup == WithSubkey) {
            HKEY subkey;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kProductKey) + "\\Parts").c_str(),
                                                     0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &subkey, nullptr));
            RegCloseKey(subkey);
        }

        bool result;
        std::vector<std::string> deleteCalls;
        {
            PlatformDouble platform;
            CUninstaller uninstaller("C:\\Product");
            result = uninstaller.DeleteUninstallEntry();
            EXPECT_EQ(std::vector<std::string>{c.line}, LogOf(uninstaller));
            deleteCalls = platform.CallsTo("RegDeleteKeyExA");
            EXPECT_TRUE(platform.OpenHandles().empty());
        }
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(std::vector<std::string>{c.deleteCall}, deleteCalls);
        EXPECT_EQ(c.setup == WithSubkey, ProductKeyExists());
        if (c.setup == WithSubkey) {
            EXPECT_EQ("C:\\Product\\Draveth.exe -f C:\\Product\\Tamsel.dat", UninstallStringOfProduct());
        }
        EXPECT_TRUE(UninstallKeyExists());
        RemoveProductKey();
    }
}
