#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

const char kProductKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2";
const char kRecordVariable[] = "MORVANE_STANDIN_LOG";

// "\\?\" reaches names that end in dots or spaces.
std::string Verbatim(const std::string& path)
{
    return "\\\\?\\" + path;
}

// The names below a folder ("\Sub\File"), folders before their contents; links are not entered.
void AddNames(const std::string& root, const std::string& relative, Lines& names)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Verbatim(root + relative + "\\*").c_str(), &entry);
    for (BOOL found = search != INVALID_HANDLE_VALUE; found; found = FindNextFileA(search, &entry)) {
        const std::string name = relative + "\\" + entry.cFileName;
        if (std::string(".") != entry.cFileName && std::string("..") != entry.cFileName) {
            names.push_back(name);
            if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
                AddNames(root, name, names);
        }
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

std::string TempPath(const std::string& name)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return temp + name;
}

} // namespace

std::string BuildPath(const std::string& relative)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.erase(folder.find_last_of('\\'));
    return folder.erase(folder.find_last_of('\\') + 1) + relative;
}

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
    if (name == "Pellox.dll" || name == "Draveth.exe") {
        EXPECT_TRUE(CopyFileA(BuildPath("demo\\" + name).c_str(), path.c_str(), FALSE)) << name;
    } else if (name.back() == '\\') {
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << name;
    } else {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << name;
        CloseHandle(file);
    }
}

void TestFolder::AddStandIns() const
{
    Add("Pellox.dll");
    Add("Draveth.exe");
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

void RemoveTree(const std::string& path)
{
    Lines names;
    if (!(GetFileAttributesA(Verbatim(path).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
        AddNames(path, "", names);
    names.insert(names.begin(), "");
    std::reverse(names.begin(), names.end());  // what is in a folder goes before it
    for (const std::string& name : names) {
        const std::string verbatim = Verbatim(path + name);
        SetFileAttributesA(verbatim.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(verbatim.c_str()))
            RemoveDirectoryA(verbatim.c_str());
    }
}

void WriteUninstallString(const std::string& value, DWORD type)
{
    RemoveProductKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    const DWORD size = static_cast<DWORD>(value.size() + (type == REG_SZ ? 1 : 0));
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

StandInRecord::StandInRecord() : m_path(TempPath("standin-calls.txt"))
{
    DeleteFileA(m_path.c_str());
    SetEnvironmentVariableA(kRecordVariable, m_path.c_str());
}

StandInRecord::~StandInRecord()
{
    SetEnvironmentVariableA(kRecordVariable, nullptr);
    DeleteFileA(m_path.c_str());
}

Lines StandInRecord::Calls() const
{
    // Each line: component, process id, command line, current folder, dwFlags, wShowWindow.
    Lines calls;
    std::ifstream file(m_path, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        Lines fields;
        std::istringstream stream(line);
        for (std::string field; std::getline(stream, field, '\t');)
            fields.push_back(field);
        const bool hidden = fields.size() == 6 && fields[4] == "1" && fields[5] == "0";  // STARTF_USESHOWWINDOW, SW_HIDE
        calls.push_back(fields[0] + "\t" + fields.at(2) + "\t" + (hidden ? "1" : "0"));
    }
    return calls;
}

Lines LogLines(const CUninstaller& uninstaller)
{
    Lines lines;
    for (std::string line; uninstaller.GetLogLine(static_cast<int>(lines.size()), line);)
        lines.push_back(line);
    return lines;
}
