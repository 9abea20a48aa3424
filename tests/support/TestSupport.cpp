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

void AddNames(const std::string& root, const std::string& relative, Lines& names)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Verbatim(root + relative + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        names.push_back(relative + name);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            AddNames(root, relative + name + "\\", names);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

} // namespace

std::string BuildPath(const std::string& relative)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.erase(folder.find_last_of('\\'));
    folder.erase(folder.find_last_of('\\'));
    return folder + "\\" + relative;
}

TestFolder::TestFolder(const std::string& name)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + name;
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
        return;
    }
    if (name.back() == '\\') {
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << name;
        return;
    }
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(file, "data", 4, &written, nullptr);
    CloseHandle(file);
}

void TestFolder::AddStandIns() const
{
    Add("Pellox.dll");
    Add("Draveth.exe");
}

Lines TestFolder::Names() const
{
    Lines names;
    AddNames(m_path, "\\", names);
    for (std::string& name : names)
        name.erase(0, 1);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string& path)
{
    const std::string verbatim = Verbatim(path);
    const DWORD attributes = GetFileAttributesA(verbatim.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(verbatim.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(verbatim.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        Lines names;
        AddNames(path, "\\", names);
        std::reverse(names.begin(), names.end());  // what is below a folder comes before it
        for (const std::string& name : names)
            RemoveTree(path + name);
    }
    if (!RemoveDirectoryA(verbatim.c_str()))
        DeleteFileA(verbatim.c_str());
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
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RemoveProductKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
}

StandInRecord::StandInRecord()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "standin-calls.txt";
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
        std::istringstream fields(line);
        std::string component, id, commandLine, folder, flags, show;
        std::getline(fields, component, '\t');
        std::getline(fields, id, '\t');
        std::getline(fields, commandLine, '\t');
        std::getline(fields, folder, '\t');
        fields >> flags >> show;
        const bool hidden = (std::stoul(flags) & STARTF_USESHOWWINDOW) && std::stoul(show) == SW_HIDE;
        calls.push_back(component + "\t" + commandLine + "\t" + (hidden ? "1" : "0"));
    }
    return calls;
}
