#pragma once

// What the test programs share, straight through Windows: folders, the uninstall key, the stand-ins' calls, the log.
#include "UiDriver.h"  // BuildFolder(), RunUnixCommand(), UnixPath()
#include "engine/InstallFolder.h"
#include "engine/Uninstaller.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
inline Lines operator+(Lines lines, const Lines& more)
{
    return lines.insert(lines.end(), more.begin(), more.end()), lines;
}

inline std::wstring Wide(const std::string& text, UINT codePage)
{
    std::wstring wide(text.size(), L'\0');
    return wide.substr(0, MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &wide[0], int(wide.size())));
}

// A new, empty folder under %TEMP%\morvane-tests (emptied first, from the Unix side). Names are UTF-8, made with the
// wide calls as a user would: "X\" a folder, "LINK>TARGET" a link (Windows paths, or a name and a shell pattern in the
// folder), the stand-ins by name, "!", "#", "~" before a file for read-only, hidden and system, held open (while here).
class TestFolder {
public:
    explicit TestFolder(const std::string& name)
    {
        static const std::string root = std::getenv("TEMP") + std::string("\\morvane-tests");
        static const bool emptied = RunUnixCommand("rm -rf " + UnixPath(root)) && CreateDirectoryA(root.c_str(), 0);
        static int made = 0;
        m_path = root + "\\" + name + " " + std::to_string(++made);
        EXPECT_TRUE(emptied && CreateDirectoryA(m_path.c_str(), nullptr)) << m_path;
    }
    ~TestFolder() { std::for_each(m_held.begin(), m_held.end(), CloseHandle); }
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    bool Add(std::string name)  // false with a failure
    {
        const char mark = name[0];
        name.erase(0, mark == '!' || mark == '#' || mark == '~');
        const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        const DWORD attributes = mark == '!' ? FILE_ATTRIBUTE_READONLY : mark == '#' ? hidden : 0;
        const std::wstring path = L"\\\\?\\" + Wide(m_path, CP_ACP) + L"\\" + Wide(name, CP_UTF8);
        const std::string leaf = name.substr(name.rfind('\\') + 1), link = name.substr(0, name.find('>'));
        bool made;
        if (link != name) {
            const std::string target = name.substr(link.size() + 1);
            const std::string to = target[1] == ':' ? UnixPath(target) : "\\\"$PWD\\\"/" + target;
            const std::string from = UnixPath(link[1] == ':' ? link : PathOf(link));
            made = RunUnixCommand("cd " + UnixPath(m_path) + " && mkdir -p \\\"$(dirname " + from +
                                  ")\\\" && ln -sfn " + to + " " + from);
            if (name.find("dosdevices") != std::string::npos)
                Sleep(1100);  // Wine reads the drives anew once a second
        } else if (leaf == "Pellox.dll" || leaf == "Draveth.exe")  // UTF-8 has no 0x5C trail byte
            made = CopyFileW(Wide(BuildFolder() + "\\demo\\" + leaf, CP_ACP).c_str(), path.c_str(), FALSE);
        else if (name.back() == '\\')
            made = CreateDirectoryW(path.c_str(), nullptr);
        else {  // with the attributes asked for, as the file itself tells
            const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                            attributes, nullptr);
            mark == '~' ? m_held.push_back(file) : (void)CloseHandle(file);
            made = file != INVALID_HANDLE_VALUE && (GetFileAttributesW(path.c_str()) & attributes) == attributes;
        }
        EXPECT_TRUE(made) << "not made: " << name;
        return made;
    }
    // The names below the folder as the program reads them ("Sub\File"), sorted; links not entered.
    Lines Names(const std::string& below = "") const
    {
        Lines names;
        WIN32_FIND_DATAA entry;
        const HANDLE search = FindFirstFileA(("\\\\?\\" + PathOf(below) + "*").c_str(), &entry);
        for (BOOL found = search != INVALID_HANDLE_VALUE; found; found = FindNextFileA(search, &entry)) {
            if (std::string(".") == entry.cFileName || std::string("..") == entry.cFileName)
                continue;
            names.push_back(below + entry.cFileName);
            const DWORD kind = entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
            if (kind == FILE_ATTRIBUTE_DIRECTORY)
                names = names + Names(names.back() + "\\");
        }
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
    std::vector<HANDLE> m_held;
};

// The product's uninstall key in the registry view the program reads (the test program's own).
const char kProductKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2";
inline bool ProductKeyExists()
{
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) == ERROR_SUCCESS && !RegCloseKey(key);
}

// The key anew with only UninstallString, of the given type.
inline void WriteUninstallString(const std::string& value, DWORD type = REG_SZ)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    const DWORD size = static_cast<DWORD>(value.size() + (type == REG_SZ));
    EXPECT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kProductKey, "UninstallString", type, value.c_str(), size), 0);
}

// The stand-ins' calls since the last look ("Pellox.dll <tab> command line <tab> hidden"), forgotten then.
inline Lines TakeStandInCalls()
{
    const std::string record = std::getenv("TEMP") + std::string("\\standin-calls.txt");
    SetEnvironmentVariableA("MORVANE_STANDIN_LOG", record.c_str());  // for every child started from now on
    Lines calls;
    for (std::ifstream file(record, std::ios::binary); file.peek() != EOF;)
        std::getline(file, calls.emplace_back());
    DeleteFileA(record.c_str());
    return calls;
}

// A log line from its short form: "+name" deleted, "-name" not deleted, "=name" skipped, "?name" missing, "!folder"
// refused; "InfoTip+", "Draveth-", "Entry+" and so on the other steps' lines, "+" for success.
inline std::string LogLine(const std::string& code)
{
    const std::string name = code.substr(1), file = "ファイル'" + name + "'";
    const bool done = code.back() == '+';
    switch (code[0]) {
    case '+': return file + "は削除されました。";
    case '-': return file + "は削除きでませんでした。";
    case '=': return file + "の削除はスキップされました。";
    case '?': return file + "は存在しません。";
    case '!': return "フォルダ'" + name + "'はシステムフォルダであるか実際の場所を確認"
                                          "できないため、ファイルは削除されませんでした。";
    case 'E': return std::string("アンインストール情報レジストリエントリは削除") +
                     (done ? "されました。" : "できませんでした。");  // "Entry+", "Entry-"
    }
    const std::string step = code.substr(0, code.size() - 1);  // "InfoTip+", "Draveth-"
    return step + "の登録が解除され" + (done ? "ました。" : "ませんでした。");
}

inline Lines LogLines(const CUninstaller& uninstaller)
{
    Lines lines;
    for (std::string line; uninstaller.GetLogLine(static_cast<int>(lines.size()), line);)
        lines.push_back(line);
    return lines;
}
