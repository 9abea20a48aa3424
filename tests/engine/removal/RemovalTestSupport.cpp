#include "tests/engine/removal/RemovalTestSupport.h"
#include "tests/standins/StandInCalls.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A path that Windows takes as written: no trailing dots or spaces stripped.
std::string Verbatim(const std::string& path)
{
    return "\\\\?\\" + path;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Verbatim(path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(Verbatim(child).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(Verbatim(child).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(Verbatim(path).c_str());
}

} // namespace

TestFolder::TestFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    m_path = std::string(temp) + "removal-" + name;
    RemoveTree(m_path);
    if (!CreateDirectoryA(m_path.c_str(), nullptr))
        ADD_FAILURE() << "cannot create " << m_path << ": " << GetLastError();
}

TestFolder::~TestFolder()
{
    RemoveTree(m_path);
}

void TestFolder::AddFile(const std::string& name, const std::string& contents, DWORD attributes)
{
    const HANDLE file = CreateFileA(Verbatim(PathOf(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << name << ": " << GetLastError();
        return;
    }
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    if (attributes)
        SetFileAttributesA(Verbatim(PathOf(name)).c_str(), attributes);
}

void TestFolder::AddFolder(const std::string& name)
{
    if (!CreateDirectoryA(PathOf(name).c_str(), nullptr))
        ADD_FAILURE() << "cannot create folder " << name << ": " << GetLastError();
}

std::vector<std::string> TestFolder::Names(const std::string& subfolder) const
{
    const std::string folder = subfolder.empty() ? m_path : PathOf(subfolder);
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Verbatim(folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return Sorted(names);
}

std::string TestFolder::Contents(const std::string& name) const
{
    const HANDLE file = CreateFileA(Verbatim(PathOf(name)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

const char kProductKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2";

void CreateProductKey(const std::string& uninstallString)
{
    RemoveProductKey();
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr);
    ASSERT_EQ(ERROR_SUCCESS, status);
    status = RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(uninstallString.c_str()),
                            static_cast<DWORD>(uninstallString.size() + 1));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, status);
}

bool ProductKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RemoveProductKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
}

std::vector<std::string> LogOf(const CUninstaller& uninstaller)
{
    std::vector<std::string> lines;
    std::string line;
    while (uninstaller.GetLogLine(static_cast<int>(lines.size()), line))
        lines.push_back(line);
    return lines;
}

std::string DeletedLine(const std::string& name)
{
    return "ファイル'" + name + "'は削除されました。";
}

std::string NotDeletedLine(const std::string& name)
{
    return "ファイル'" + name + "'は削除きでませんでした。";
}

std::string SkippedLine(const std::string& name)
{
    return "ファイル'" + name + "'の削除はスキップされました。";
}

const char kEntryDeletedLine[] = "アンインストール情報レジストリエントリは削除されました。";
const char kEntryNotDeletedLine[] = "アンインストール情報レジストリエントリは削除できませんでした。";

std::vector<std::string> Sorted(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

void CopyStandIns(const TestFolder& folder, const std::string& subfolder)
{
    const std::string standIns = StandInFolder() + "\\";
    const std::string target = subfolder.empty() ? folder.Path() : folder.PathOf(subfolder);
    for (const char* name : {"Pellox.dll", "Draveth.exe"}) {
        if (!CopyFileA((standIns + name).c_str(), (target + "\\" + name).c_str(), TRUE))
            ADD_FAILURE() << "cannot copy the stand-in " << standIns << name << ": " << GetLastError();
    }
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : m_name(name)
{
    char previous[1024];
    const DWORD length = GetEnvironmentVariableA(name, previous, sizeof previous);
    m_wasSet = length > 0 && length < sizeof previous;
    if (m_wasSet)
        m_previous = previous;
    SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableA(m_name.c_str(), m_wasSet ? m_previous.c_str() : nullptr);
}
