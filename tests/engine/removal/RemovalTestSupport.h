#pragma once

// What the removal tests check the uninstaller against: its log lines, and the environment its
// children see. The folders and the uninstall key come from tests/support.

#include "engine/Uninstaller.h"
#include "tests/support/ProductInstall.h"

#include <windows.h>

#include <string>
#include <vector>

// Every log line of the uninstaller, in order.
std::vector<std::string> LogOf(const CUninstaller& uninstaller);

// The log lines of the file and registry steps, as the product writes them (code page 932).
std::string DeletedLine(const std::string& name);
std::string NotDeletedLine(const std::string& name);
std::string SkippedLine(const std::string& name);
extern const char kEntryDeletedLine[];
extern const char kEntryNotDeletedLine[];

std::vector<std::string> Sorted(std::vector<std::string> lines);

// Sets an environment variable for this process and the children it starts, and restores it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_name;
    bool m_wasSet;
    std::string m_previous;
};
