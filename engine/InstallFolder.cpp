#include "engine/RegistryPath.h"
#include "engine/Uninstaller.h"

#include "platform/Platform.h"

namespace {

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
    const std::string written = WithBackslashes(folder);
    std::string full;
    const bool gotFull = GetMeasuredText(
        [&written](char* buffer, DWORD size) { return CurrentPlatform().GetFullPathNameA(written.c_str(), size, buffer, nullptr); },
        full);
    if (!gotFull)
        return true;

    // Only a folder below a drive root or a share root can be an install folder.
    const std::size_t rootLength = AbsoluteRootLength(full, AnsiLeadBytes());
    if (rootLength == 0 || full.find_first_not_of('\\', rootLength) == std::string::npos)
        return true;
    // Other names for a whole drive or the Windows folder: an administrative share ("C$", "ADMIN$"),
    // or a stream of a folder ("C:\Windows::$INDEX_ALLOCATION"), the only place a colon can stand
    // after the drive's own. Neither byte is ever a trail byte.
    if (full.compare(0, 2, "\\\\") == 0) {
        const std::size_t shareEnd = full[rootLength - 1] == '\\' ? rootLength - 1 : rootLength;
        if (full[shareEnd - 1] == '$')
            return true;
    }
    if (full.find(':', 2) != std::string::npos)
        return true;

    std::string windows;
    const bool gotWindows = GetMeasuredText(
        [](char* buffer, DWORD size) { return DWORD(CurrentPlatform().GetSystemWindowsDirectoryA(buffer, size)); },
        windows);
    if (!gotWindows)
        return true;
    const std::string windowsPrefix = AsFolderPrefix(windows);
    const std::string fullPrefix = AsFolderPrefix(full);
    return CompareNoCase(std::string_view(fullPrefix).substr(0, windowsPrefix.size()), windowsPrefix,
                         AnsiLeadBytes()) == 0;
}
