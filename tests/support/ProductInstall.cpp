#include "tests/support/ProductInstall.h"

#include "tests/standins/StandInCalls.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A path that Windows takes as written: no trailing dots or spaces stripped.
std::string Verbatim(const std::string& path)
{
    return "\\\\?\\" + path;
}

// The names in a folder without "." and "..", sorted by byte; subfolders too when asked.
std::vector<std::string> List(const std::string& folder, bool withFolders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(Verbatim(folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = entry.cFileName;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != "." && name != ".." && (withFolders || !isFolder))
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

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

void WriteTextFile(const std::string& path, const std::string& text)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << path << ": " << GetLastError();
        return;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CopyStandIn(const std::string& component, const std::string& folder)
{
    const std::string source = StandInFolder() + "\\" + component;
    if (!CopyFileA(source.c_str(), (folder + "\\" + component).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy the stand-in " << source << ": " << GetLastError();
}

TestFolder::TestFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    m_path = std::string(temp) + name;
    RemoveTree(m_path);
    if (!CreateDirectoryA(m_path.c_str(), nullptr))
        ADD_FAILURE() << "cannot create " << m_path << ": " << GetLastError();
}

TestFolder::~TestFolder()
{
    RemoveTree(m_path);
}

void TestFolder::AddFile(const std::string& name, const std::string& contents, DWORD attributes) const
{
    WriteTextFile(Verbatim(PathOf(name)), contents);
    if (attributes)
        SetFileAttributesA(Verbatim(PathOf(name)).c_str(), attributes);
}

void TestFolder::AddFolder(const std::string& name) const
{
    if (!CreateDirectoryA(PathOf(name).c_str(), nullptr))
        ADD_FAILURE() << "cannot create folder " << name << ": " << GetLastError();
}

void TestFolder::CopyStandIns(const std::string& subfolder) const
{
    const std::string target = subfolder.empty() ? m_path : PathOf(subfolder);
    CopyStandIn("Pellox.dll", target);
    CopyStandIn("Draveth.exe", target);
}

bool TestFolder::Exists(const std::string& name) const
{
    return FileExists(Verbatim(PathOf(name)));
}

std::vector<std::string> TestFolder::Names(const std::string& subfolder) const
{
    return List(subfolder.empty() ? m_path : PathOf(subfolder), true);
}

std::vector<std::string> TestFolder::Files() const
{
    return List(m_path, false);
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
    CreateProductKey(REG_SZ, std::string(uninstallString.c_str(), uninstallString.size() + 1));
}

void CreateProductKey(DWORD type, const std::string& bytes)
{
    RemoveProductKey();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0,
                                             KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    const LONG status = RegSetValueExA(key, "UninstallString", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, status);
}

bool ProductKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RemoveProductKey()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return;
    // A key that still has subkeys cannot be deleted.
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kProductKey, KEY_WOW64_32KEY, 0);
}

ProductInstallation::ProductInstallation(const std::string& name) : TestFolder(name)
{
    RemoveProductKey();
}

ProductInstallation::~ProductInstallation()
{
    RemoveProductKey();
}

void ProductInstallation::WriteUninstallEntry() const
{
    CreateProductKey("\"" + PathOf("Uninst.exe") + "\" -f \"" + LogFile() + "\"");
}
