#pragma once

// A product installation for Morvane.exe to find and remove: the uninstall entry, and an install
// folder with the stand-in components, ordinary files, the preserved data file and a subfolder.

#include "tests/support/ProductInstall.h"

#include <string>

class Installation : public ProductInstallation {
public:
    // A fresh, empty folder below the temporary folder; no uninstall entry.
    explicit Installation(const std::string& name) : ProductInstallation("MorvaneUi-" + name) {}

    // Copies in the stand-ins, writes the files and points the uninstall entry at the folder.
    void Install() const;
    void MakeReadOnly(const std::string& file) const;
};

// True once the file holds the text, within timeoutMs.
bool WaitForFileText(const std::string& path, const std::string& text, unsigned timeoutMs = 10000);
