// The last two removal steps: the plain files of the install folder, then the uninstall entry.
#include "engine/LogTexts.h"
#include "engine/RegistryPath.h"
#include "engine/Uninstaller.h"
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

} // namespace

bool CUninstaller::DeleteInstalledFiles()
{
    // A broken or tampered entry must never make this a tool that wipes a drive or the system.
    if (IsProtectedFolder(m_folder))
        return false;

    // A join that fails (the path would be too long) leaves no pattern of this folder to search: a
    // search on what is left could find the folder itself and report an empty folder as done.
    std::string pattern = m_folder;
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
        // A file whose path cannot be joined is not deleted, and says so.
        std::string path = m_folder;
        const bool deleted = AppendPath(path, entry.cFileName) && CurrentPlatform().DeleteFileA(path.c_str()) != FALSE;
        AddLog(kLogFileDeletion, entry.cFileName, deleted ? kLogDeleted : kLogFileNotDeleted);
        if (!deleted)
            allDeleted = false;
    } while (CurrentPlatform().FindNextFileA(search.Get(), &entry));
    return allDeleted;
}

bool CUninstaller::DeleteUninstallEntry()
{
    const bool deleted = RegDeleteKeyByPath(HKEY_LOCAL_MACHINE, UninstallKeyPath) == ERROR_SUCCESS;
    AddLog(kLogEntryDeletion, deleted ? kLogDeleted : kLogEntryNotDeleted);
    return deleted;
}
