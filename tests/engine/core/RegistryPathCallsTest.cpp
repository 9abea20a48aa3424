// The registry calls of the path walks, seen through the platform double: which keys are opened
// with which access, that every one is closed, deepest first, and what happens after a failure.

#include "engine/RegistryPath.h"
#include "tests/engine/PlatformDouble.h"
#include "tests/engine/core/TestKeys.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class RegistryPathCalls : public testing::Test {
protected:
    void SetUp() override
    {
        m_key.SetString("A\\B", "Value", "text");
        m_key.Create("A\\B\\Doomed");
    }

    TestKey m_key{HKEY_CURRENT_USER, "Software\\MorvaneCoreTest"};
};

TEST_F(RegistryPathCalls, ReadWalkOpensWithKeyReadAndClosesDeepestFirst)
{
    PlatformDouble platform;
    std::string value;
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Value", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "text");
    EXPECT_EQ(platform.Calls(), (Lines{
                                    "RegOpenKeyExA(HKCU, \"Software\", 0, 0x20019) = 0 -> k1",
                                    "RegOpenKeyExA(k1, \"MorvaneCoreTest\", 0, 0x20019) = 0 -> k2",
                                    "RegOpenKeyExA(k2, \"A\", 0, 0x20019) = 0 -> k3",
                                    "RegOpenKeyExA(k3, \"B\", 0, 0x20019) = 0 -> k4",
                                    "RegQueryValueExA(k4, \"Value\", size 1024) = 0",
                                    "RegCloseKey(k4) = 0",
                                    "RegCloseKey(k3) = 0",
                                    "RegCloseKey(k2) = 0",
                                    "RegCloseKey(k1) = 0",
                                }));
}

TEST_F(RegistryPathCalls, DeleteWalkOpensWithDeleteAccessAndClosesDeepestFirst)
{
    PlatformDouble platform;
    EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Doomed"), ERROR_SUCCESS);
    EXPECT_EQ(platform.Calls(), (Lines{
                                    "RegOpenKeyExA(HKCU, \"Software\", 0, 0x10009) = 0 -> k1",
                                    "RegOpenKeyExA(k1, \"MorvaneCoreTest\", 0, 0x10009) = 0 -> k2",
                                    "RegOpenKeyExA(k2, \"A\", 0, 0x10009) = 0 -> k3",
                                    "RegOpenKeyExA(k3, \"B\", 0, 0x10009) = 0 -> k4",
                                    "RegDeleteKeyExA(k4, \"Doomed\", 0x0, 0) = 0",
                                    "RegCloseKey(k4) = 0",
                                    "RegCloseKey(k3) = 0",
                                    "RegCloseKey(k2) = 0",
                                    "RegCloseKey(k1) = 0",
                                }));
}

TEST_F(RegistryPathCalls, PathWithoutBackslashOpensNothing)
{
    PlatformDouble platform;
    std::string value;
    RegQueryValueByPath(HKEY_CURRENT_USER, "NoSuchValue", value);
    RegDeleteKeyByPath(HKEY_CURRENT_USER, "NoSuchKeyOfMorvane");
    EXPECT_EQ(platform.Calls(), (Lines{
                                    "RegQueryValueExA(HKCU, \"NoSuchValue\", size 1024) = 2",
                                    "RegDeleteKeyExA(HKCU, \"NoSuchKeyOfMorvane\", 0x0, 0) = 2",
                                }));
}

// The open at each level in turn fails: its code comes back unchanged, nothing deeper is called,
// and the keys opened above it are closed, deepest first.
TEST_F(RegistryPathCalls, FailedOpenStopsWalkAndClosesKeysAbove)
{
    const LONG injected = ERROR_ACCESS_DENIED;
    for (int level = 1; level <= 4; ++level) {
        for (const bool reading : {true, false}) {
            SCOPED_TRACE((reading ? "read, level " : "delete, level ") + std::to_string(level));
            PlatformDouble platform;
            platform.Fail("RegOpenKeyExA", level, injected);
            std::string value = "untouched";
            const LONG result =
                reading ? RegQueryValueByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Value", value)
                        : RegDeleteKeyByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Doomed");
            EXPECT_EQ(result, injected);
            EXPECT_EQ(value, "untouched");
            EXPECT_EQ(platform.CountOf("RegOpenKeyExA"), level);
            EXPECT_EQ(platform.CountOf("RegQueryValueExA") + platform.CountOf("RegDeleteKeyExA"), 0);
            Lines closes;
            for (int k = level - 1; k >= 1; --k)
                closes.push_back("RegCloseKey(k" + std::to_string(k) + ") = 0");
            EXPECT_EQ(platform.CallsTo("RegCloseKey"), closes);
            EXPECT_TRUE(platform.OpenHandles().empty());
        }
    }
    EXPECT_TRUE(m_key.Exists("A\\B\\Doomed"));
}

TEST_F(RegistryPathCalls, FailedLastCallPassesItsCodeUpAndClosesAll)
{
    {
        PlatformDouble platform;
        platform.Fail("RegQueryValueExA", 1, ERROR_MORE_DATA);
        std::string value;
        EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Value", value),
                  ERROR_MORE_DATA);
        EXPECT_EQ(platform.CountOf("RegCloseKey"), 4);
        EXPECT_TRUE(platform.OpenHandles().empty());
    }
    {
        PlatformDouble platform;
        platform.Fail("RegDeleteKeyExA", 1, ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteKeyByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Doomed"),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(platform.CountOf("RegCloseKey"), 4);
        EXPECT_TRUE(platform.OpenHandles().empty());
    }
}

// Windows does not promise what a failed open leaves in its result: the walk must not close it.
class GarbageOnFailedOpen : public PlatformDouble {
public:
    LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) override
    {
        if (std::strcmp(subKey, "B") != 0)
            return PlatformDouble::RegOpenKeyExA(key, subKey, options, access, result);
        *result = reinterpret_cast<HKEY>(0x1234);
        Record("RegOpenKeyExA(" + NameOf(key) + ", \"B\") = 5");
        return ERROR_ACCESS_DENIED;
    }
};

TEST_F(RegistryPathCalls, FailedOpenResultIsNeverClosed)
{
    GarbageOnFailedOpen platform;
    std::string value;
    EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, "Software\\MorvaneCoreTest\\A\\B\\Value", value),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(platform.CallsTo("RegCloseKey"), (Lines{"RegCloseKey(k3) = 0", "RegCloseKey(k2) = 0", "RegCloseKey(k1) = 0"}));
}

// A query that answers with a data size it did not write: the text stays inside the 1024 bytes.
class QueryFillsBuffer : public PlatformDouble {
public:
    explicit QueryFillsBuffer(std::string data, DWORD reportedSize, LONG status)
        : m_data(std::move(data)), m_reportedSize(reportedSize), m_status(status) {}

    LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data, DWORD* dataSize) override
    {
        Record("RegQueryValueExA(" + NameOf(key) + ", " + Quoted(valueName) + ", size " + std::to_string(*dataSize) + ")");
        std::memcpy(data, m_data.data(), m_data.size());
        *type = REG_BINARY;
        *dataSize = m_reportedSize;
        return m_status;
    }

private:
    std::string m_data;
    DWORD m_reportedSize;
    LONG m_status;
};

TEST_F(RegistryPathCalls, TextEndsAtFirstZeroAndNeverPassesBuffer)
{
    const struct {
        const char* name;
        std::string data;
        DWORD reportedSize;
        LONG status;
        std::string expected;
    } cases[] = {
        {"full buffer, more data", std::string(1024, 'm'), 5000, ERROR_MORE_DATA, std::string(1024, 'm')},
        {"zero inside the data", std::string("abc\0def", 7), 7, ERROR_SUCCESS, "abc"},
        {"short data without zero", "xyz", 3, ERROR_SUCCESS, "xyz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QueryFillsBuffer platform(c.data, c.reportedSize, c.status);
        std::string value(3000, 'o');  // an earlier, longer text must not show through
        EXPECT_EQ(RegQueryValueByPath(HKEY_CURRENT_USER, "Value", value), c.status);
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(platform.Calls(), (Lines{"RegQueryValueExA(HKCU, \"Value\", size 1024)"}));
    }
}

TEST_F(RegistryPathCalls, DoubleByteElementIsSplitOnlyAtRealBackslashes)
{
    PlatformDouble platform;
    std::string value;
    RegQueryValueByPath(HKEY_CURRENT_USER, "Software\\USBソx\\Value", value);
    const Lines expected = GetACP() == 932
                               ? Lines{"RegOpenKeyExA(HKCU, \"Software\", 0, 0x20019) = 0 -> k1",
                                       "RegOpenKeyExA(k1, \"USBソx\", 0, 0x20019) = 2"}
                               : Lines{"RegOpenKeyExA(HKCU, \"Software\", 0, 0x20019) = 0 -> k1",
                                       "RegOpenKeyExA(k1, \"USB\x83\", 0, 0x20019) = 2"};
    EXPECT_EQ(platform.CallsTo("RegOpenKeyExA"), expected);
}

} // namespace
