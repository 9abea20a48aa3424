#pragma once

// What the test programs share, done straight through Windows (never through the engine): folders
// of their own, the product's uninstall key, the stand-in components and the calls they record.

#include "UiDriver.h"  // BuildFolder()
#include "engine/Uninstaller.h"

#include <windows.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

// A folder of its own under %TEMP%, empty at first and removed with everything in it at the end.
// Names are taken as written, trailing dots and spaces included; one ending in "\" is a folder;
// "Pellox.dll" and "Draveth.exe" are the built stand-ins of the product's components.
class TestFolder {
public:
    explicit TestFolder(const std::string& name);
    ~TestFolder();
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    void Add(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    Lines Names() const;  // every name below the folder ("Sub\File"), sorted

private:
    const std::string m_path;
};

// The product's uninstall key in the registry view the program reads (the test program's own),
// holding only UninstallString: a string, or the bytes as a value of the given type.
void WriteUninstallString(const std::string& value, DWORD type = REG_SZ);
bool ProductKeyExists();
void RemoveProductKey();

// While it lives, the stand-ins record each call: "Pellox.dll <tab> command line <tab> hidden".
class StandInRecord {
public:
    StandInRecord();
    ~StandInRecord();
    Lines Calls() const;
};

// The engine's log, line by line.
Lines LogLines(const CUninstaller& uninstaller);
