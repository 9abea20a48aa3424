#pragma once

// A product installation in the Wine prefix, set up and taken down by the tests straight through
// Windows (never through the engine's platform): folders under the temporary folder, the stand-in
// components copied into them, and the product's uninstall key.

#include <windows.h>

#include <string>
#include <vector>

// Removes a folder with everything in it, read-only files and names that only a "\\?\" path reaches
// (trailing dots and spaces) included; nothing happens when it is not there.
void RemoveTree(const std::string& path);

// Writes a file afresh with the text; a failure when it cannot.
void WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

// Copies a built stand-in component ("Pellox.dll" or "Draveth.exe") into a folder, over an older
// copy; a failure when it cannot (not built, for one).
void CopyStandIn(const std::string& component, const std::string& folder);

// A folder of its own under the temporary folder, emptied on creation and removed with everything
// in it at the end. Names below it ("Data\\Keep.txt") are taken as written: trailing dots and
// spaces are kept.
class TestFolder {
public:
    explicit TestFolder(const std::string& name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }

    void AddFile(const std::string& name, const std::string& contents = "data", DWORD attributes = 0) const;
    void AddFolder(const std::string& name) const;
    // Both stand-in components, into the folder or one of its subfolders.
    void CopyStandIns(const std::string& subfolder = "") const;

    bool Exists(const std::string& name) const;
    // The names in the folder (or in one of its subfolders), without "." and "..", sorted by byte.
    std::vector<std::string> Names(const std::string& subfolder = "") const;
    // The plain files directly in the folder, sorted by byte.
    std::vector<std::string> Files() const;
    // The contents of a file, or "<missing>".
    std::string Contents(const std::string& name) const;

private:
    std::string m_path;
};

// The product's uninstall key under HKEY_LOCAL_MACHINE, written literally here so that the engine's
// constant is checked too. The functions below use the 32-bit registry view, the one Morvane.exe and
// the engine read, whatever the test program's own.
extern const char kProductKey[];

// Writes the key afresh, holding only an UninstallString value: a string (stored with its
// terminating zero), or the given bytes as a value of the given type.
void CreateProductKey(const std::string& uninstallString);
void CreateProductKey(DWORD type, const std::string& bytes);
bool ProductKeyExists();
// Removes the key with everything below it, if it is there.
void RemoveProductKey();

// A test folder that holds an installation of the product: no uninstall entry while it is made,
// none left when it goes.
class ProductInstallation : public TestFolder {
public:
    explicit ProductInstallation(const std::string& name);
    ~ProductInstallation();

    // The file after "-f" in the uninstall entry, which names the install folder.
    std::string LogFile() const { return PathOf("install.log"); }
    // Points the product's uninstall entry at the folder.
    void WriteUninstallEntry() const;
};
