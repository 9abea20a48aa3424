#pragma once

// A product installation for Morvane.exe to find and remove: the uninstall entry, and an install
// folder with the stand-in components, ordinary files, the preserved data file and a subfolder.

#include <string>
#include <vector>

class Installation {
public:
    // A fresh, empty folder below the temporary folder; no uninstall entry.
    explicit Installation(const std::string& name);
    ~Installation();  // removes the folder and the entry
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    // Copies in the stand-ins, writes the files and points the uninstall entry at the folder.
    void Install();
    void MakeReadOnly(const std::string& file) const;

    const std::string& Folder() const { return m_folder; }
    bool Exists(const std::string& relativePath) const;
    std::vector<std::string> Files() const;  // plain files directly in the folder, sorted

private:
    std::string m_folder;
};

// Writes a small file with some text.
void WriteTextFile(const std::string& path, const std::string& text);

// True once the file holds the text, within timeoutMs.
bool WaitForFileText(const std::string& path, const std::string& text, unsigned timeoutMs = 10000);
