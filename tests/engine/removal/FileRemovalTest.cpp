// Deleting the plain files of the install folder, against real folders under Wine, and with a
// scripted directory search where Wine's sorted listing cannot show the order.
#include "engine/Uninstaller.h"
#include "tests/engine/PlatformDouble.h"
#include "tests/engine/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(DeleteInstalledFiles, DeletesPlainFilesKeepsPreservedFileAndSubfolders)
{
    TestFolder folder("removal-mixed");
    folder.AddFile("readme.txt");
    folder.AddFile("Tamsel.dat", "user data");
    // Double-byte names whose trail byte is the backslash: ソ is 0x83 0x5C, 表 is 0x95 0x5C.
    folder.AddFile("ソ");
    folder.AddFile("表.txt");
    folder.AddFolder("Data");
    folder.AddFile("Data\\inner.txt");
    folder.AddFile("Data\\readme.txt");
    folder.AddFolder("Empty");

    CUninstaller uninstaller(folder.Path().c_str());
    EXPECT_TRUE(uninstaller.DeleteInstalledFiles());

    EXPECT_EQ(Sorted({DeletedLine("readme.txt"), SkippedLine("Tamsel.dat"), DeletedLine("ソ"),
                      DeletedLine("表.txt")}),
              Sorted(LogOf(uninstaller)));
    EXPECT_EQ((Lines{"Data", "Empty", "Tamsel.dat"}), folder.Names());
    EXPECT_EQ((Lines{"inner.txt", "readme.txt"}), folder.Names("Data"));
    EXPECT_EQ("user data", folder.Contents("Tamsel.dat"));
}

TEST(DeleteInstalledFiles, FoldersWithNothingToDeleteOrNotThere)
{
    struct Case {
        const char* name;
        Lines files;
        bool create;
        bool result;
        Lines log;
    } cases[] = {
        {"only dot entries", {}, true, true, {}},
        {"only the preserved file", {"Tamsel.dat"}, true, true, {SkippedLine("Tamsel.dat")}},
        {"missing folder", {}, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder parent("removal-nothing");
        std::string path = parent.PathOf("Product");
        if (c.create) {
            parent.AddFolder("Product");
            for (const std::string& file : c.files)
                parent.AddFile("Product\\" + file);
        }

        CUninstaller uninstaller(path.c_str());
        EXPECT_EQ(c.result, uninstaller.DeleteInstalledFiles());
        EXPECT_EQ(c.log, LogOf(uninstaller));
        EXPECT_EQ(c.files, parent.Names(c.create ? "Product" : ""));
    }
}

TEST(DeleteInstalledFiles, PreservedNameInAnyCaseIsSkippedLookAlikesAreDeleted)
{
    const Lines lookAlikes = {"Tamsel.dat.bak", "Tamsel.da", "Tamsel", "xTamsel.dat", "Tamsel.dat2", "Tamsel.dat_",
                              "Tamsel.dat.txt", "Tamsel .dat"};
    for (const char* preserved : {"Tamsel.dat", "TAMSEL.DAT", "tamsel.dat", "tAmSeL.DaT"}) {
        SCOPED_TRACE(preserved);
        TestFolder folder("removal-case");
        folder.AddFile(preserved, "keep");
        for (const std::string& name : lookAlikes)
            folder.AddFile(name);

        CUninstaller uninstaller(folder.Path().c_str());
        EXPECT_TRUE(uninstaller.DeleteInstalledFiles());

        Lines expected = {SkippedLine(preserved)};
        for (const std::string& name : lookAlikes)
            expected.push_back(DeletedLine(name));
        EXPECT_EQ(Sorted(expected), Sorted(LogOf(uninstaller)));
        EXPECT_EQ(Lines{preserved}, folder.Names());
        EXPECT_EQ("keep", folder.Contents(preserved));
    }
}

// Windows strips trailing dots and spaces from a path: deleting "Tamsel.dat." through the folder
// path deletes "Tamsel.dat". Such names are skipped like the preserved name, and nothing goes.
TEST(DeleteInstalledFiles, NamesThatWindowsReadsAsThePreservedFileAreSkipped)
{
    const Lines oddNames = {"Tamsel.dat.", "Tamsel.dat ", "tamsel.DAT. .", "Tamsel.dat..."};
    for (bool withPreserved : {true, false}) {
        SCOPED_TRACE(withPreserved ? "beside the preserved file" : "alone");
        TestFolder folder("removal-trailing");
        Lines expectedLog;
        Lines expectedNames = oddNames;
        if (withPreserved) {
            folder.AddFile("Tamsel.dat", "keep");
            expectedLog.push_back(SkippedLine("Tamsel.dat"));
            expectedNames.push_back("Tamsel.dat");
        }
        for (const std::string& name : oddNames) {
            folder.AddFile(name, "odd");
            expectedLog.push_back(SkippedLine(name));
        }
        folder.AddFile("other.txt");
        expectedLog.push_back(DeletedLine("other.txt"));

        CUninstaller uninstaller(folder.Path().c_str());
        EXPECT_TRUE(uninstaller.DeleteInstalledFiles());

        EXPECT_EQ(Sorted(expectedLog), Sorted(LogOf(uninstaller)));
        EXPECT_EQ(Sorted(expectedNames), folder.Names());
        if (withPreserved) {
            EXPECT_EQ("keep", folder.Contents("Tamsel.dat"));
        }
    }
}

// A file that cannot be deleted gets the failure line and fails the step; the files the search
// returns after it are still deleted. Hidden and system files are no obstacle.
TEST(DeleteInstalledFiles, FilesThatCannotBeDeletedAreReportedAndTheRestStillGo)
{
    enum Obstacle { ReadOnly, HeldOpen, HiddenSystem };
    struct Case {
        const char* name;
        Obstacle obstacle;
        bool deleted;
    } cases[] = {
        {"read-only", ReadOnly, false},
        {"held open without delete sharing", HeldOpen, false},
        {"hidden and system", HiddenSystem, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder("removal-obstacle");
        // Upper-case names: the search returns them in this order however it sorts.
        folder.AddFile("A.txt");
        folder.AddFile("B.txt", "data",
                       c.obstacle == ReadOnly       ? FILE_ATTRIBUTE_READONLY
                       : c.obstacle == HiddenSystem ? FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                                    : 0);
        folder.AddFile("C.txt");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.obstacle == HeldOpen)
            held = CreateFileA(folder.PathOf("B.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);

        CUninstaller uninstaller(folder.Path().c_str());
        const bool result = uninstaller.DeleteInstalledFiles();
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);

        EXPECT_EQ(c.deleted, result);
        EXPECT_EQ((Lines{DeletedLine("A.txt"), c.deleted ? DeletedLine("B.txt") : NotDeletedLine("B.txt"),
                         DeletedLine("C.txt")}),
                  LogOf(uninstaller));
        EXPECT_EQ(c.deleted ? Lines{} : Lines{"B.txt"}, folder.Names());
    }
}

namespace {

// A directory search that returns a scripted list of entries, in the given order, and deletions
// that succeed without touching any file.
class ScriptedSearch : public PlatformDouble {
public:
    struct Entry {
        const char* name;
        DWORD attributes;
    };
    explicit ScriptedSearch(std::vector<Entry> entries) : m_entries(std::move(entries)) {}

    HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data) override
    {
        m_next = 0;
        Fill(data);
        Record("FindFirstFileA(" + Quoted(pattern) + ") = " + Opened(kSearch, "f") + " " + Quoted(data->cFileName));
        return kSearch;
    }
    BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) override
    {
        const bool more = m_next < m_entries.size();
        if (more)
            Fill(data);
        else
            SetError(ERROR_NO_MORE_FILES);
        Record("FindNextFileA(" + NameOf(search) + ") = " + (more ? "1 " + Quoted(data->cFileName) : "0"));
        return more;
    }
    BOOL FindClose(HANDLE search) override
    {
        Record("FindClose(" + Closed(search) + ") = 1");
        return TRUE;
    }
    BOOL DeleteFileA(const char* path) override
    {
        Record("DeleteFileA(" + Quoted(path) + ") = 1");
        return TRUE;
    }

private:
    void Fill(WIN32_FIND_DATAA* data)
    {
        *data = WIN32_FIND_DATAA();
        data->dwFileAttributes = m_entries[m_next].attributes;
        lstrcpynA(data->cFileName, m_entries[m_next].name, MAX_PATH);
        ++m_next;
    }

    HANDLE const kSearch = reinterpret_cast<HANDLE>(0x5EA4C400);
    std::vector<Entry> m_entries;
    size_t m_next = 0;
};

Lines SearchAndDeleteCalls(const PlatformDouble& platform)
{
    Lines calls;
    for (const std::string& call : platform.Calls()) {
        if (call.compare(0, 4, "Find") == 0 || call.compare(0, 10, "DeleteFile") == 0)
            calls.push_back(call);
    }
    return calls;
}

} // namespace

// Entries are handled in the order the search returns them, each file deleted before the next
// entry is asked for, and the search is closed at the end.
TEST(DeleteInstalledFiles, HandlesEachEntryAsTheSearchReturnsIt)
{
    const DWORD file = FILE_ATTRIBUTE_ARCHIVE;
    const DWORD folder = FILE_ATTRIBUTE_DIRECTORY;
    ScriptedSearch platform({{"zeta.txt", file},
                             {".", folder},
                             {"Tamsel.dat", file},
                             {"sub", folder},
                             {"Alpha.txt", file},
                             {"..", folder},
                             {"mid.txt", file}});
    CUninstaller uninstaller("C:\\Product");
    EXPECT_TRUE(uninstaller.DeleteInstalledFiles());

    EXPECT_EQ((Lines{
                  "FindFirstFileA(\"C:\\Product\\*.*\") = f1 \"zeta.txt\"",
                  "DeleteFileA(\"C:\\Product\\zeta.txt\") = 1",
                  "FindNextFileA(f1) = 1 \".\"",
                  "FindNextFileA(f1) = 1 \"Tamsel.dat\"",
                  "FindNextFileA(f1) = 1 \"sub\"",
                  "FindNextFileA(f1) = 1 \"Alpha.txt\"",
                  "DeleteFileA(\"C:\\Product\\Alpha.txt\") = 1",
                  "FindNextFileA(f1) = 1 \"..\"",
                  "FindNextFileA(f1) = 1 \"mid.txt\"",
                  "DeleteFileA(\"C:\\Product\\mid.txt\") = 1",
                  "FindNextFileA(f1) = 0",
                  "FindClose(f1) = 1",
              }),
              SearchAndDeleteCalls(platform));
    EXPECT_EQ((Lines{DeletedLine("zeta.txt"), SkippedLine("Tamsel.dat"), DeletedLine("Alpha.txt"),
                     DeletedLine("mid.txt")}),
              LogOf(uninstaller));
    EXPECT_TRUE(platform.OpenHandles().empty());
}

// A drive root, a share root or the Windows folder is never searched, however it is spelt.
TEST(DeleteInstalledFiles, RefusesProtectedFolders)
{
    for (const char* path : {"C:\\", "C:\\windows", "C:/Windows/System32", "C:\\Windows\\Temp\\..",
                             "c:\\\\windows\\\\syswow64", "\\\\server\\share"}) {
        SCOPED_TRACE(path);
        PlatformDouble platform;
        // Should the refusal ever fail, nothing is really deleted.
        platform.Fail("DeleteFileA");
        CUninstaller uninstaller(path);
        EXPECT_FALSE(uninstaller.DeleteInstalledFiles());
        EXPECT_EQ(Lines{}, LogOf(uninstaller));
        EXPECT_EQ(0, platform.CountOf("FindFirstFileA"));
        EXPECT_EQ(0, platform.CountOf("DeleteFileA"));
        EXPECT_TRUE(platform.OpenHandles().empty());
    }
}

// A path that cannot be joined (it would pass MAX_PATH) is never searched or deleted through
// whatever the failed join left behind: no search for the folder, a failure line for the file.
TEST(DeleteInstalledFiles, PathsThatCannotBeJoinedAreNeitherSearchedNorDeleted)
{
    {
        PlatformDouble platform;
        CUninstaller uninstaller(("C:\\Product\\" + std::string(300, 'x')).c_str());
        EXPECT_FALSE(uninstaller.DeleteInstalledFiles());
        EXPECT_EQ(Lines{}, LogOf(uninstaller));
        EXPECT_EQ(0, platform.CountOf("FindFirstFileA"));
    }
    {
        ScriptedSearch platform({{"a.txt", FILE_ATTRIBUTE_ARCHIVE}, {"b.txt", FILE_ATTRIBUTE_ARCHIVE}});
        platform.Fail("PathAppendA", 2, ERROR_FILENAME_EXCED_RANGE);  // the join for "a.txt"
        CUninstaller uninstaller("C:\\Product");
        EXPECT_FALSE(uninstaller.DeleteInstalledFiles());
        EXPECT_EQ((Lines{NotDeletedLine("a.txt"), DeletedLine("b.txt")}), LogOf(uninstaller));
        EXPECT_EQ((Lines{"DeleteFileA(\"C:\\Product\\b.txt\") = 1"}), platform.CallsTo("DeleteFileA"));
        EXPECT_TRUE(platform.OpenHandles().empty());
    }
}
