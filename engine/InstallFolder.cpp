#include "engine/RegistryPath.h"
#include "engine/Uninstaller.h"

#include "platform/Platform.h"

namespace {

// The full path of a path through the platform; false when it cannot be obtained.
bool GetFullPath(const std::string& path, std::string& full)
{
    const DWORD needed = CurrentPlatform().GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return false;
    char* buffer = GetBuffer(full, needed);
    const DWORD written = CurrentPlatform().GetFullPathNameA(path.c_str(), needed, buffer, nullptr);
    ReleaseBuffer(full);
    return written != 0 && written < needed;
}

bool GetWindowsFolder(std::string& windows)
{
    const UINT needed = CurrentPlatform().GetWindowsDirectoryA(nullptr, 0);
    if (needed == 0)
        return false;
    char* buffer = GetBuffer(windows, needed);
    const UINT written = CurrentPlatform().GetWindowsDirectoryA(buffer, needed);
    ReleaseBuffer(windows);
    return written != 0 && written < needed;
}

// The path with one backslash at its end, so that a prefix test matches whole elements only.
std::string AsFolderPrefix(std::string path)
{
    const std::string_view text(path);
    for (std::size_t start = 0, at; (at = FindBackslash(text.substr(start), AnsiLeadBytes())) != std::string_view::npos;
         start += at + 1) {
        if (start + at + 1 == text.size())
            return path;
    }
    return path + '\\';
}

} // namespace

bool LocateInstallFolder(std::string& folder)
{
    const std::string valuePath = std::string(UninstallKeyPath) + "\\UninstallString";
    std::string value;
    if (RegQueryValueByPath(HKEY_LOCAL_MACHINE, valuePath.c_str(), value) != ERROR_SUCCESS)
        return false;

    std::string located;
    if (!ExtractPathToken(value, located, AnsiLeadBytes()))
        return false;
    RemoveFileSpec(located);
    // An empty or relative folder would send the removal to the current directory.
    if (!IsAbsoluteFolder(located, AnsiLeadBytes()))
        return false;
    folder = located;
    return true;
}

bool IsProtectedFolder(const std::string& folder)
{
    std::string full;
    if (!GetFullPath(WithBackslashes(folder), full))
        return true;

    // Only a folder below a drive root or a share root can be an install folder.
    const std::size_t rootLength = AbsoluteRootLength(full, AnsiLeadBytes());
    if (rootLength == 0 || full.find_first_not_of('\\', rootLength) == std::string::npos)
        return true;

    std::string windows;
    if (!GetWindowsFolder(windows))
        return true;
    const std::string windowsPrefix = AsFolderPrefix(windows);
    const std::string fullPrefix = AsFolderPrefix(full);
    return CompareNoCase(std::string_view(fullPrefix).substr(0, windowsPrefix.size()), windowsPrefix,
                         AnsiLeadBytes()) == 0;
}
