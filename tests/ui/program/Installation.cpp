#include "Installation.h"

#include <windows.h>

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

void Installation::Install() const
{
    CopyStandIns();
    AddFile("Notes.txt", "notes");
    AddFile("設定ソ.ini", "[Quarnel]");
    AddFile("Tamsel.dat", "user data");
    AddFolder("Data");
    AddFile("Data\\Keep.txt", "kept");
    WriteUninstallEntry();
}

void Installation::MakeReadOnly(const std::string& file) const
{
    SetFileAttributesA(PathOf(file).c_str(), FILE_ATTRIBUTE_READONLY);
}
