// The last two removal steps: the plain files of the install folder, then the uninstall entry.
#include "engine/InstallFolder.h"
#include "engine/LogTexts.h"
#include "engine/PathFunctions.h"
#include "engine/RegistryPath.h"
#include "engine/Text.h"
#include "engine/Uninstaller.h"
#include "platform/CodePage.h"
#include "platform/Handles.h"

#include <string_view>

namespace {

// The user's data file stays when everything else in the install folder goes.
const char kPreservedFile[] = "Tamsel.dat";

// Windows drops trailing dots and spaces from the last element of a path, so deleting an entry
// named "Tamsel.dat." or "Tamsel.dat " would delete the preserved file itself. Neither byte is ever
// the trail byte of a double-byte character, so stripping them from the end is safe in every code page.
bool IsPreservedFile(const char* name)
{
    std::string_view text(name);
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.remove_suffix(1);
    return CompareNoCase(text, kPreservedFile, AnsiLeadBytes()) == 0;
}

// Windows opens these names as devices in every folder, also with an extension, dots or spaces
// ("COM5.txt", "nul .log"): deleting one would reach the device, or a file it is mapped to. Neither a
// dot nor a space is ever a trail byte.
bool IsDeviceName(std::string_view name)
{
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (CompareNoCase(base, device, AnsiLeadBytes()) == 0)
            return true;
    }
    // COM and LPT with a digit, also a superscript one, as the code page spells it.
    const std::string_view port = base.substr(0, 3);
    const bool isPort = base.size() > 3 && (CompareNoCase(port, "COM", AnsiLeadBytes()) == 0 ||
                                            CompareNoCase(port, "LPT", AnsiLeadBytes()) == 0);
    const std::wstring_view digits = L"0123456789\u00B9\u00B2\u00B3";
    return isPort && digits.find(ToWideCharacter(base.substr(3))) != std::wstring_view::npos;
}

// True when the name, as this program reads it, is one plain element of a path. Windows hands an
// ANSI program names through a best-fit table, in which a character that the code page lacks can
// become a separator ("x¥..¥a" reads "x\..\a"), a wildcard or a character that Windows strips when
// it opens the name (trailing dots and spaces): joined to the folder, such a name leads elsewhere, as
// a device name does.
// Neither a dot nor a space is ever a trail byte.
bool IsPlainElement(std::string_view name)
{
    return !name.empty() && name.back() != '.' && name.back() != ' ' && !IsDeviceName(name) &&
           FindCharacterOf(name, "\\/:*?\"<>|", AnsiLeadBytes()) == std::string_view::npos;
}

} // namespace

bool CUninstaller::DeleteInstalledFiles()
{
    // A broken or tampered entry must never make this a tool that wipes a drive or the system: the
    // folder is judged as written and where it really is, through any link. A refusal says so; a
    // folder that is not there is no refusal.
    if (IsProtectedFolder(m_folder)) {
        AddLog(kLogFolderRefused, m_folder.c_str());
        return false;
    }
    // The folder stays open without FILE_SHARE_DELETE until the step ends, so that neither it nor a
    // folder above it can be renamed or replaced by a link after the judgement; the search and every
    // deletion go through the folder as judged.
    const CHandle judged(CurrentPlatform().CreateFileA(m_folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (judged.Get() == INVALID_HANDLE_VALUE)
        return false;
    std::string folder;
    if (!GetRealFolder(judged.Get(), folder)) {
        AddLog(kLogFolderRefused, m_folder.c_str());
        return false;
    }

    // A join that fails (the path would be too long) leaves no pattern of this folder to search: a
    // search on what is left could find the folder itself and report an empty folder as done.
    std::string pattern = folder;
    if (!AppendPath(pattern, "*.*"))
        return false;
    WIN32_FIND_DATAA entry;
    CFindHandle search(CurrentPlatform().FindFirstFileA(pattern.c_str(), &entry));
    if (!search.IsOpen())
        return false;

    // Each file goes as soon as the search returns it; nothing is collected first.
    bool allDeleted = true;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (IsPreservedFile(entry.cFileName)) {
            AddLog(kLogFileSkipped, entry.cFileName);
            continue;
        }
        // Only one plain element of the judged folder is deleted; a file whose path cannot be joined
        // is not deleted either, and says so.
        std::string path = folder;
        const bool deleted = IsPlainElement(entry.cFileName) && AppendPath(path, entry.cFileName) &&
                             CurrentPlatform().DeleteFileA(path.c_str()) != FALSE;
        AddLog(kLogFileDeletion, entry.cFileName, deleted ? kLogDeleted : kLogFileNotDeleted);
        if (!deleted)
            allDeleted = false;
    } while (CurrentPlatform().FindNextFileA(search.Get(), &entry));
    // A search that broke off left entries unseen: the folder is not known to be empty of them.
    return allDeleted && CurrentPlatform().GetLastError() == ERROR_NO_MORE_FILES;
}

bool CUninstaller::DeleteUninstallEntry()
{
    const bool deleted = RegDeleteKeyByPath(HKEY_LOCAL_MACHINE, UninstallKeyPath) == ERROR_SUCCESS;
    AddLog(kLogEntryDeletion, deleted ? kLogDeleted : kLogEntryNotDeleted);
    return deleted;
}
