#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

const char kProductKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2";

std::string TempPath(const std::string& name)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return temp + name;
}

// "\\?\" reaches names that end in dots or spaces.
std::string Verbatim(const std::string& path)
{
    return "\\\\?\\" + path;
}

// The names below a folder ("\Sub\File"), each folder before what it holds; links are not entered.
void AddNames(const std::string& folder, const std::string& relative, Lines& names)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Verbatim(folder + relative + "\\*").c_str(), &entry);
    for (BOOL found = search != INVALID_HANDLE_VALUE; found; found = FindNextFileA(search, &entry)) {
        if (std::string(".") == entry.cFileName || std::string("..") == entry.cFileName)
            continue;
        names.push_back(relative + "\\" + entry.cFileName);
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
            AddNames(folder, names.back(), names);
    }
    FindClose(search);
}

// Removes a file, or a folder with everything below it; never enters a link to a folder.
void RemoveTree(const std::string& path)
{
    Lines names;
    if (!(GetFileAttributesA(Verbatim(path).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
        AddNames(path, "", names);
    names.insert(names.begin(), "");
    for (auto name = names.rbegin(); name != names.rend(); ++name) {  // what a folder holds goes first
        SetFileAttributesA(Verbatim(path + *name).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(Verbatim(path + *name).c_str()))
            RemoveDirectoryA(Verbatim(path + *name).c_str());
    }
}

} // namespace

TestFolder::TestFolder(const std::string& name) : m_path(TempPath(name))
{
    RemoveTree(m_path);
    EXPECT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr)) << m_path;
}

TestFolder::~TestFolder()
{
    RemoveTree(m_path);
}

void TestFolder::Add(const std::string& name, DWORD attributes) const
{
    const std::string path = Verbatim(PathOf(name));
    if (name == "Pellox.dll" || name == "Draveth.exe")
        EXPECT_TRUE(CopyFileA((BuildFolder() + "\\demo\\" + name).c_str(), path.c_str(), FALSE)) << name;
    else if (name.back() == '\\')
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << name;
    else
        EXPECT_TRUE(CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr))) << name;
}

Lines TestFolder::Names() const
{
    Lines names;
    AddNames(m_path, "", names);
    for (std::string& name : names)
        name.erase(0, 1);
    std::sort(names.begin(), names.end());
    return names;
}

void WriteUninstallString(const std::string& value, DWORD type)
{
    RemoveProductKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kProductKey, &key), ERROR_SUCCESS);
    const DWORD size = static_cast<DWORD>(value.size() + (type == REG_SZ));
    EXPECT_EQ(RegSetValueExA(key, "UninstallString", 0, type, reinterpret_cast<const BYTE*>(value.c_str()), size), 0);
    RegCloseKey(key);
}

bool ProductKeyExists()
{
    HKEY key = nullptr;
    const bool exists = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

void RemoveProductKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
}

StandInRecord::StandInRecord()
{
    DeleteFileA(TempPath("standin-calls.txt").c_str());
    SetEnvironmentVariableA("MORVANE_STANDIN_LOG", TempPath("standin-calls.txt").c_str());
}

StandInRecord::~StandInRecord()
{
    SetEnvironmentVariableA("MORVANE_STANDIN_LOG", nullptr);
}

Lines StandInRecord::Calls() const
{
    Lines calls;
    std::ifstream file(TempPath("standin-calls.txt"), std::ios::binary);
    for (std::string line; std::getline(file, line);)
        calls.push_back(line);
    return calls;
}

Lines LogLines(const CUninstaller& uninstaller)
{
    Lines lines;
    for (std::string line; uninstaller.GetLogLine(static_cast<int>(lines.size()), line);)
        lines.push_back(line);
    return lines;
}
