#pragma once

// Real folders and the real uninstall key under Wine, set up and torn down by the removal tests.

#include "engine/Uninstaller.h"

#include <windows.h>

#include <string>
#include <vector>

// A folder of its own under the temporary folder, emptied on creation and removed with everything
// in it at the end (read-only files and names Windows would strip included).
class TestFolder {
public:
    explicit TestFolder(const std::string& name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }

    // Creates a file (through a "\\?\" path, so that trailing dots and spaces are kept) with the
    // given contents and attributes.
    void AddFile(const std::string& name, const std::string& contents = "data", DWORD attributes = 0);
    void AddFolder(const std::string& name);

    // The names in the folder (or in one of its subfolders), without "." and "..", sorted by byte.
    std::vector<std::string> Names(const std::string& subfolder = "") const;
    // The contents of a file, or "<missing>".
    std::string Contents(const std::string& name) const;

private:
    std::string m_path;
};

// The product's uninstall key, written literally here so that the engine's constant is checked too.
extern const char kProductKey[];

// Creates the product's key with an UninstallString value (and nothing else).
void CreateProductKey(const std::string& uninstallString);
bool ProductKeyExists();
// Removes the product's key with everything below it, if it is there.
void RemoveProductKey();

// Every log line of the uninstaller, in order.
std::vector<std::string> LogOf(const CUninstaller& uninstaller);

// The log lines of the file and registry steps, as the product writes them (code page 932).
std::string DeletedLine(const std::string& name);
std::string NotDeletedLine(const std::string& name);
std::string SkippedLine(const std::string& name);
extern const char kEntryDeletedLine[];
extern const char kEntryNotDeletedLine[];

std::vector<std::string> Sorted(std::vector<std::string> lines);

// The stand-in components "Pellox.dll" and "Draveth.exe" built beside the test program, copied into
// a folder; a failure when they have not been built.
void CopyStandIns(const TestFolder& folder, const std::string& subfolder = "");

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
