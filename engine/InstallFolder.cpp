#include "engine/InstallFolder.h"

#include "engine/PathFunctions.h"
#include "engine/RegistryPath.h"
#include "engine/Uninstaller.h"
#include "engine/UninstallValue.h"
#include "platform/Handles.h"

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

// The system's Windows folder: the real one even on a Remote Desktop Session Host, where
// GetWindowsDirectoryA can give a user's private folder.
bool GetWindowsFolder(std::string& windows)
{
    return GetMeasuredText(
        [](char* buffer, DWORD size) { return DWORD(CurrentPlatform().GetSystemWindowsDirectoryA(buffer, size)); },
        windows);
}

// One folder: the same file index on the same volume.
bool IsSameFolder(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// To refuse a folder, also one that may be the same: Wine gives a folder reached through a bind
// mount the serial number of another drive, with its own file index and creation time.
bool MayBeSameFolder(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return IsSameFolder(a, b) ||
           (a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow &&
            a.ftCreationTime.dwLowDateTime == b.ftCreationTime.dwLowDateTime &&
            a.ftCreationTime.dwHighDateTime == b.ftCreationTime.dwHighDateTime);
}

bool GetFolderIdentity(const std::string& folder, BY_HANDLE_FILE_INFORMATION& identity)
{
    const CHandle opened(CurrentPlatform().CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return opened.Get() != INVALID_HANDLE_VALUE &&
           CurrentPlatform().GetFileInformationByHandle(opened.Get(), &identity) != FALSE;
}

// True when the folder is the system's Windows folder or lies below it, or is the root of the
// Windows folder's volume, by identity: another drive letter, a share of this machine or a bind
// mount reaches them under names that no name rule knows.
bool IsInWindowsFolder(const std::string& folder, const BY_HANDLE_FILE_INFORMATION& identity)
{
    std::string windows;
    BY_HANDLE_FILE_INFORMATION windowsFolder, windowsRoot, above;
    if (!GetWindowsFolder(windows) || !GetFolderIdentity(windows, windowsFolder) ||
        !GetFolderIdentity(windows.substr(0, AbsoluteRootLength(windows, AnsiLeadBytes())), windowsRoot) ||
        MayBeSameFolder(identity, windowsFolder) || MayBeSameFolder(identity, windowsRoot))
        return true;
    // Each folder above: the root, then the path up to each backslash after it.
    const std::string_view text(folder);
    const std::size_t rootLength = AbsoluteRootLength(text, AnsiLeadBytes());
    for (std::size_t end = rootLength, from = rootLength;; from = end + 1) {
        if (!GetFolderIdentity(folder.substr(0, end), above) || MayBeSameFolder(above, windowsFolder))
            return true;
        const std::size_t next = FindBackslash(text.substr(from), AnsiLeadBytes());
        if (next == std::string_view::npos)
            return false;
        end = from + next;
    }
}

// The share of a UNC path ("\\server\share\...") whose root is rootLength bytes long is one that Windows
// makes for a whole drive or for itself: a drive letter and "$", "ADMIN$", "IPC$" or "PRINT$".
bool IsAdministrativeShare(std::string_view path, std::size_t rootLength)
{
    const std::size_t shareStart = 2 + FindBackslash(path.substr(2), AnsiLeadBytes()) + 1;
    const std::size_t shareEnd = path[rootLength - 1] == '\\' ? rootLength - 1 : rootLength;
    const std::string_view share = path.substr(shareStart, shareEnd - shareStart);
    for (const char* name : {"ADMIN$", "IPC$", "PRINT$"}) {
        if (CompareNoCase(share, name, AnsiLeadBytes()) == 0)
            return true;
    }
    const char letter = share.empty() ? 0 : static_cast<char>(share[0] | 0x20);
    return share.size() == 2 && letter >= 'a' && letter <= 'z' && share[1] == '$';
}

} // namespace

bool GetRealFolder(HANDLE folder, std::string& real)
{
    std::string final;
    const bool gotFinal = GetMeasuredText(
        [folder](char* buffer, DWORD size) {
            return CurrentPlatform().GetFinalPathNameByHandleA(folder, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        },
        final);
    if (!gotFinal)
        return false;
    if (final.compare(0, 8, "\\\\?\\UNC\\") == 0)
        real = "\\" + final.substr(7);
    else if (final.compare(0, 4, "\\\\?\\") == 0)
        real = final.substr(4);
    // Only a drive or a share: Wine names a folder outside every drive "\\?\unix\...".
    if (!IsAbsoluteFolder(real, AnsiLeadBytes()) || IsProtectedFolder(real))
        return false;
    BY_HANDLE_FILE_INFORMATION held, named;
    return CurrentPlatform().GetFileInformationByHandle(folder, &held) && GetFolderIdentity(real, named) &&
           IsSameFolder(held, named) && !IsInWindowsFolder(real, held);
}

bool LocateInstallFolder(std::string& folder)
{
    const std::string valuePath = std::string(UninstallKeyPath) + "\\UninstallString";
    std::string value;
    if (RegQueryValueByPath(HKEY_LOCAL_MACHINE, valuePath.c_str(), value) != ERROR_SUCCESS)
        return false;

    std::string located;
    if (!ExtractPathToken(value, located, AnsiLeadBytes()))
        return false;
    // The installer may write either separator, and Windows reads both: the file name goes at the last.
    located = WithBackslashes(located);
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
    // Other names for a whole drive or the Windows folder: an administrative share ("C$", "ADMIN$";
    // any other share, hidden or not, is judged like every folder), or a stream of a folder
    // ("C:\Windows::$INDEX_ALLOCATION"), the only place a colon can stand after the drive's own.
    if (full.compare(0, 2, "\\\\") == 0 && IsAdministrativeShare(full, rootLength))
        return true;
    if (full.find(':', 2) != std::string::npos)
        return true;

    std::string windows;
    if (!GetWindowsFolder(windows))
        return true;
    const std::string windowsPrefix = AsFolderPrefix(windows);
    const std::string fullPrefix = AsFolderPrefix(full);
    return CompareNoCase(std::string_view(fullPrefix).substr(0, windowsPrefix.size()), windowsPrefix,
                         AnsiLeadBytes()) == 0;
}
