// The one operation through which the product is removed: the four steps, always all of them, in order.
#include "engine/Uninstaller.h"

#include "engine/Text.h"
#include "engine/UninstallValue.h"

bool CUninstaller::Execute()
{
    // The steps resolve every file name against the folder; one that is empty or relative would
    // point them at the current directory, so such an object touches nothing.
    if (!IsAbsoluteFolder(m_folder, AnsiLeadBytes()))
        return false;

    // The unregistration steps need their files, so they run before the files are deleted; their
    // outcome shows only in the log.
    UnregisterInfoTip();
    RunConfigToolUninstall();
    const bool filesDeleted = DeleteInstalledFiles();
    const bool entryDeleted = DeleteUninstallEntry();
    return filesDeleted && entryDeleted;
}
