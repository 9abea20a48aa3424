#pragma once

// A registry key made for one test directly through Windows (not through the engine's platform),
// deleted with everything below it when the test ends. The 32-bit test program writes in the same
// registry view as the engine reads.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

class TestKey {
public:
    TestKey(HKEY root, std::string path) : m_root(root), m_path(std::move(path))
    {
        ::RegDeleteTreeA(m_root, m_path.c_str());
        Create("");
    }
    ~TestKey() { ::RegDeleteTreeA(m_root, m_path.c_str()); }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    const std::string& Path() const { return m_path; }

    // subPath names a key below this one ("" for this key itself).
    std::string Below(const std::string& subPath) const { return subPath.empty() ? m_path : m_path + "\\" + subPath; }

    void Create(const std::string& subPath) const
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(m_root, Below(subPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS) << Below(subPath);
        ::RegCloseKey(key);
    }

    void SetValue(const std::string& subPath, const char* name, DWORD type, const void* data, DWORD size) const
    {
        Create(subPath);
        ASSERT_EQ(::RegSetKeyValueA(m_root, Below(subPath).c_str(), name, type, data, size), ERROR_SUCCESS) << name;
    }

    // A string value with its terminating zero.
    void SetString(const std::string& subPath, const char* name, const std::string& text, DWORD type = REG_SZ) const
    {
        SetValue(subPath, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    bool Exists(const std::string& subPath) const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(m_root, Below(subPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

private:
    HKEY m_root;
    std::string m_path;
};
