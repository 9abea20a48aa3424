#pragma once

// The uninstall engine: finds the product's install folder and removes the product from it in four
// steps, collecting a log of Japanese lines (code page 932).

#include "engine/Text.h"
#include "engine/UninstallValue.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The product's key under the Windows uninstall key, below HKEY_LOCAL_MACHINE.
extern const char UninstallKeyPath[];

// Reads the install folder from the product's UninstallString (the folder of the path after "-f").
// False, with folder unchanged, when the entry is missing or unreadable, has no usable "-f" token,
// or names a folder that is not an absolute path.
bool LocateInstallFolder(std::string& folder);

// True when the folder must never have its files deleted: a drive root, a UNC share root, or the
// system's Windows folder or any folder below it, judged on the folder's canonical full path.
bool IsProtectedFolder(const std::string& folder);

// The opened folder's path where it really is, in the plain form ("C:\...", "\\server\share\..."):
// symbolic links, junctions, mount points and subst drives resolved at every level. The text comes
// through the best-fit table, so it is opened again and must lead to the same folder. False when that
// cannot be had or proven, or when the folder must never be emptied: a protected folder by its name,
// or the Windows folder, a folder below it or the root of its volume by its identity.
bool GetRealFolder(HANDLE folder, std::string& real);

// The shell path functions, applied in place.
bool RemoveFileSpec(std::string& path);
bool AppendPath(std::string& path, const char* element);

// Text from a Windows call that, given no buffer, reports the size it needs (with the zero, or
// without it as Wine's GetFinalPathNameByHandleA does); false when the call fails or the text does
// not fit.
bool GetMeasuredText(const std::function<DWORD(char* buffer, DWORD size)>& call, std::string& text);

class CUninstaller {
public:
    explicit CUninstaller(const char* folder);
    CUninstaller(const CUninstaller&) = delete;
    CUninstaller& operator=(const CUninstaller&) = delete;

    // Runs the four removal steps in order; true when the files and the uninstall entry are gone.
    bool Execute();

    void AddLog(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    bool GetLogLine(int index, std::string& line) const;

    // The removal steps, in the order Execute runs them.
    bool UnregisterInfoTip();
    bool RunConfigToolUninstall();
    bool DeleteInstalledFiles();
    bool DeleteUninstallEntry();

private:
    const std::string m_folder;
    std::vector<std::string> m_log;
};
