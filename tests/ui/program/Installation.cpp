#include "Installation.h"

#include "UiDriver.h"

#include <windows.h>

#include <algorithm>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

void WriteTextFile(const std::string& path, const std::string& text)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

bool WaitForFileText(const std::string& path, const std::string& text, unsigned timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[4096] = {};
            DWORD read = 0;
            ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
            CloseHandle(file);
            if (std::string(buffer, read).find(text) != std::string::npos)
                return true;
        }
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
}

Installation::Installation(const std::string& name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "MorvaneUi";
    CreateDirectoryA(root.c_str(), nullptr);
    m_folder = root + "\\" + name;
    RemoveTree(m_folder);
    CreateDirectoryA(m_folder.c_str(), nullptr);
    RemoveUninstallEntry();
}

Installation::~Installation()
{
    RemoveTree(m_folder);
    RemoveUninstallEntry();
}

void Installation::Install()
{
    const std::string standins = BuildFolder() + "\\tests\\standins\\";
    CopyFileA((standins + "Pellox.dll").c_str(), (m_folder + "\\Pellox.dll").c_str(), FALSE);
    CopyFileA((standins + "Draveth.exe").c_str(), (m_folder + "\\Draveth.exe").c_str(), FALSE);
    WriteTextFile(m_folder + "\\Notes.txt", "notes");
    WriteTextFile(m_folder + "\\設定ソ.ini", "[Quarnel]");
    WriteTextFile(m_folder + "\\Tamsel.dat", "user data");
    CreateDirectoryA((m_folder + "\\Data").c_str(), nullptr);
    WriteTextFile(m_folder + "\\Data\\Keep.txt", "kept");
    WriteUninstallString("\"" + m_folder + "\\Setup.exe\" /remove -f \"" + m_folder + "\\Setup.exe\"");
}

void Installation::MakeReadOnly(const std::string& file) const
{
    SetFileAttributesA((m_folder + "\\" + file).c_str(), FILE_ATTRIBUTE_READONLY);
}

bool Installation::Exists(const std::string& relativePath) const
{
    return GetFileAttributesA((m_folder + "\\" + relativePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Installation::Files() const
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((m_folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}
