// RegQueryValueByPath and RegDeleteKeyByPath against the registry of the Wine prefix.

#include "engine/RegistryPath.h"
#include "tests/engine/core/TestKeys.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const char kBase[] = "Software\\MorvaneCoreTest";

class RegistryPath : public testing::Test {
protected:
    TestKey m_key{HKEY_CURRENT_USER, kBase};

    std::string Full(const std::string& rest) const { return m_key.Path() + "\\" + rest; }
};

TEST_F(RegistryPath, ReadsValueThroughPathOfKeys)
{
    m_key.SetString("A\\B", "Value", "C:\\Q\\x.log");
    std::string value = "old";
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full("A\\B\\Value").c_str(), value), ERROR_SUCCESS);
    EXPECT_EQ(value, "C:\\Q\\x.log");
}

TEST_F(RegistryPath, PathWithoutBackslashWorksDirectlyUnderRoot)
{
    m_key.SetString("", "Direct", "direct text");
    m_key.Create("Leaf");
    HKEY base = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kBase, 0, KEY_READ | DELETE, &base), ERROR_SUCCESS);

    std::string value;
    EXPECT_EQ(RegQueryValueByPath(base, "Direct", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "direct text");
    EXPECT_EQ(RegDeleteKeyByPath(base, "Leaf"), ERROR_SUCCESS);
    EXPECT_FALSE(m_key.Exists("Leaf"));
    RegCloseKey(base);
}

TEST_F(RegistryPath, MissingKeyGivesOpenErrorAndLeavesValueUntouched)
{
    m_key.SetString("A\\B", "Value", "text");
    const struct {
        const char* path;
    } cases[] = {{"Missing\\B\\Value"}, {"A\\Missing\\Value"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string value = "untouched";
        EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full(c.path).c_str(), value), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(value, "untouched");
        EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, Full(c.path).c_str()), ERROR_FILE_NOT_FOUND);
    }
    EXPECT_TRUE(m_key.Exists("A\\B"));
}

TEST_F(RegistryPath, MissingValueGivesQueryError)
{
    m_key.Create("A");
    std::string value;
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full("A\\NoSuchValue").c_str(), value), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryPath, ValueFitsInBufferWithItsZeroOrFails)
{
    const std::string fits(1023, 'f');
    const std::string tooLong(1024, 't');
    m_key.SetString("", "Fits", fits);
    m_key.SetString("", "TooLong", tooLong);

    std::string value;
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full("Fits").c_str(), value), ERROR_SUCCESS);
    EXPECT_EQ(value, fits);
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full("TooLong").c_str(), value), ERROR_MORE_DATA);
    EXPECT_LE(value.size(), 1024u);
}

TEST_F(RegistryPath, AnyValueTypeReadsAsBytesUpToFirstZero)
{
    const DWORD abc = 0x00434241;       // "ABC" then a zero byte
    const DWORD noZero = 0x44434241;    // "ABCD", no zero in the data
    const char multi[] = "first\0second\0";
    const char binary[] = {'x', 'y', 'z'};
    m_key.SetValue("", "Dword", REG_DWORD, &abc, sizeof abc);
    m_key.SetValue("", "DwordNoZero", REG_DWORD, &noZero, sizeof noZero);
    m_key.SetValue("", "Multi", REG_MULTI_SZ, multi, sizeof multi);
    m_key.SetValue("", "Binary", REG_BINARY, binary, sizeof binary);
    m_key.SetString("", "Expand", "%WINDIR%\\x", REG_EXPAND_SZ);

    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"Dword", "ABC"}, {"DwordNoZero", "ABCD"}, {"Multi", "first"}, {"Binary", "xyz"}, {"Expand", "%WINDIR%\\x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string value = "a longer text that was there before";
        EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full(c.name).c_str(), value), ERROR_SUCCESS);
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(RegistryPath, DeletesKeyWithoutSubkeys)
{
    m_key.SetString("Parent\\Gone", "Value", "x");
    EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, Full("Parent\\Gone").c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(m_key.Exists("Parent\\Gone"));
    EXPECT_TRUE(m_key.Exists("Parent"));
    EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, Full("Parent\\Gone").c_str()), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryPath, KeyWithSubkeyStaysWithItsValues)
{
    m_key.SetString("Entry", "UninstallString", "kept");
    m_key.Create("Entry\\Child");
    EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, Full("Entry").c_str()), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(m_key.Exists("Entry\\Child"));
    std::string value;
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full("Entry\\UninstallString").c_str(), value), ERROR_SUCCESS);
    EXPECT_EQ(value, "kept");
}

TEST_F(RegistryPath, ElementWithBackslashTrailByteIsOneKey)
{
    // Windows reads the path in the process's code page, as the engine must: under 932 "USBソx" is
    // one key; under 1252 its 0x5C separates "USB\x83" from "x".
    const std::string element = "USBソx";
    m_key.SetString(element, "Value", "so");
    m_key.Create(element + "\\Sub");

    std::string value;
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, Full(element + "\\Value").c_str(), value), ERROR_SUCCESS);
    EXPECT_EQ(value, "so");
    EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, Full(element + "\\Sub").c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(m_key.Exists(element + "\\Sub"));
    EXPECT_TRUE(m_key.Exists(element));
}

} // namespace
