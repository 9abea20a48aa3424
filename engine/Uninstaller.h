#pragma once

// The uninstall engine: removes the product from its install folder in four steps, collecting a log
// of Japanese lines (code page 932).

#include <string>
#include <vector>

// The product's key under the Windows uninstall key, below HKEY_LOCAL_MACHINE.
extern const char UninstallKeyPath[];

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
