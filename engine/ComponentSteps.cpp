// The two removal steps that have the product's components undo their own registration, before
// their files are deleted.
#include "engine/Uninstaller.h"

#include "engine/LogTexts.h"
#include "engine/PathFunctions.h"
#include "engine/ProcessRunner.h"
#include "platform/Platform.h"

namespace {

// The component's full path in the install folder, or false (with the missing-file line) when
// it is not there.
bool FindComponent(CUninstaller& uninstaller, const std::string& folder, const char* fileName, std::string& path)
{
    // A path too long to build counts as missing: what the failed join left is no path at all.
    path = folder;
    if (AppendPath(path, fileName) && CurrentPlatform().PathFileExistsA(path.c_str()))
        return true;
    uninstaller.AddLog(kLogFileMissing, fileName);
    return false;
}

} // namespace

bool CUninstaller::UnregisterInfoTip()
{
    std::string path;
    if (!FindComponent(*this, m_folder, "Pellox.dll", path))
        return false;
    const bool unregistered = UnregisterServerDll(path.c_str());
    AddLog("%s", unregistered ? kLogInfoTipUnregistered : kLogInfoTipNotUnregistered);
    return unregistered;
}

bool CUninstaller::RunConfigToolUninstall()
{
    std::string path;
    if (!FindComponent(*this, m_folder, "Draveth.exe", path))
        return false;
    // "/Uninstall" is the tool's whole command line: it does not begin with the program's path.
    const bool unregistered = RunProcessAndWait(path.c_str(), "/Uninstall", 5000);
    AddLog("%s", unregistered ? kLogToolUnregistered : kLogToolNotUnregistered);
    return unregistered;
}
