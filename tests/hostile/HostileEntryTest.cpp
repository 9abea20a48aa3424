// Morvane.exe under Wine against uninstall entries that a broken installer or an attacker could
// write: folders that are empty, relative, a drive or share root, the Windows folder or one of its
// system folders (also spelt with "..", ".", "/", doubled backslashes, trailing dots, device
// prefixes), values at the 1024-byte limit, and values of other registry types. For each: the
// dialog shows the state the rules give, a removal that is offered touches nothing outside an
// ordinary install folder, the canary files in the current directory, the drive root, the Windows
// folder, System32 and SysWOW64 survive, and the program ends with a dialog exit code (no crash).

#include "UiDriver.h"

#include "res/resource.h"
#include "tests/support/ProductInstall.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kDialogCaption[] = "USB Quarnel Uninstaller";
const char kQuestion[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)をアンインストールしますか？";
const char kNotInstalled[] = "USB Quarnel2ソフトウェア(Ver2.x.x.x)はインストールされていません。";
const char kYes[] = "はい";
const char kNo[] = "いいえ";
const char kClose[] = "閉じる";
const char kRemoved[] = "正常にアンインストールされました。";
const char kNotRemoved[] = "アンインストールできませんでした。";
// The log of a removal that found neither component and was refused the folder's files.
const char kRefusedLog[] =
    "ファイル'Pellox.dll'は存在しません。\r\n"
    "ファイル'Draveth.exe'は存在しません。\r\n"
    "アンインストール情報レジストリエントリは削除されました。\r\n";

const char kCanaryName[] = "morvane-canary.txt";
// The ordinary install folder of the double-byte case: its last element is "ソ" (0x83 0x5C).
const char kHostileRoot[] = "C:\\hostile";
const char kSoFolder[] = "C:\\hostile\\ソ";
const char kCurrentDirectory[] = "C:\\hostile-cwd";

// A plain file of that folder, which its removal deletes, and the preserved data file beside it.
std::string OrdinaryFile()
{
    return std::string(kSoFolder) + "\\old.txt";
}

std::string PreservedFile()
{
    return std::string(kSoFolder) + "\\Tamsel.dat";
}

enum class Outcome {
    kNotInstalled,  // the notice, "閉じる" only; closed with exit code 2
    kOffered,       // the question; declined with "いいえ", exit code 2
    kRefused,       // the question; the removal deletes no file and fails; log view, exit code 2
    kRemoved,       // the question; the removal succeeds in the ordinary folder; exit code 1
};

const char* NameOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::kNotInstalled: return "not installed";
    case Outcome::kOffered: return "offered";
    case Outcome::kRefused: return "refused";
    case Outcome::kRemoved: return "removed";
    }
    return "?";
}

struct HostileCase {
    const char* name;
    DWORD type;
    std::string data;  // the value's bytes as stored, terminating zeros included
    Outcome expected;
};

// A string value with its terminating zero.
std::string Sz(const std::string& text)
{
    return std::string(text) + '\0';
}

// A command line of the product's form with the given text after "-f".
std::string Entry(const std::string& afterSwitch)
{
    return Sz("\"C:\\Program Files\\USB Quarnel2\\Uninst.exe\" -f " + afterSwitch);
}

// A value whose text is exactly length bytes, an ordinary install folder after "-f" at its end.
std::string OfLength(std::size_t length)
{
    const std::string head = "\"C:\\Program Files\\USB Quarnel2\\Uninst.exe\"";
    const std::string tail = " -f \"C:\\hostile\\inst\\install.log\"";
    return Sz(head + std::string(length - head.size() - tail.size(), ' ') + tail);
}

std::vector<HostileCase> Cases()
{
    std::string dword(4, '\0');
    const DWORD number = 0x0020662D;  // the bytes "-f " and a zero
    std::memcpy(&dword[0], &number, 4);
    return {
        {"nothing after -f", REG_SZ, Entry(""), Outcome::kNotInstalled},
        {"empty quotes", REG_SZ, Entry("\"\""), Outcome::kNotInstalled},
        {"relative file", REG_SZ, Entry("install.log"), Outcome::kNotInstalled},
        {"relative folder", REG_SZ, Entry("sub\\install.log"), Outcome::kNotInstalled},
        {"dot folder", REG_SZ, Entry(".\\install.log"), Outcome::kNotInstalled},
        {"dot-dot folder", REG_SZ, Entry("..\\install.log"), Outcome::kNotInstalled},
        {"drive-relative", REG_SZ, Entry("C:install.log"), Outcome::kNotInstalled},
        {"root-relative", REG_SZ, Entry("\\install.log"), Outcome::kNotInstalled},
        {"line break before path", REG_SZ, Entry("\r\nC:\\windows\\install.log"), Outcome::kNotInstalled},
        {"device path", REG_SZ, Entry("\\\\?\\C:\\windows\\install.log"), Outcome::kNotInstalled},
        {"device path, dot", REG_SZ, Entry("\\\\.\\C:\\windows\\install.log"), Outcome::kNotInstalled},
        {"device UNC path", REG_SZ, Entry("\\\\?\\UNC\\server\\share\\install.log"), Outcome::kNotInstalled},
        {"slashes only", REG_SZ, Entry("C:/windows/system32/install.log"), Outcome::kNotInstalled},
        {"drive root", REG_SZ, Entry("C:\\install.log"), Outcome::kRefused},
        {"drive root, quoted", REG_SZ, Entry("\"C:\\install.log\""), Outcome::kRefused},
        {"share root", REG_SZ, Entry("\\\\server\\share\\install.log"), Outcome::kRefused},
        {"Windows", REG_SZ, Entry("C:\\windows\\install.log"), Outcome::kRefused},
        {"System32", REG_SZ, Entry("C:\\windows\\system32\\install.log"), Outcome::kRefused},
        {"SysWOW64", REG_SZ, Entry("C:\\windows\\syswow64\\install.log"), Outcome::kRefused},
        {"Sysnative", REG_SZ, Entry("C:\\windows\\sysnative\\install.log"), Outcome::kRefused},
        {"System32, upper case", REG_SZ, Entry("C:\\WINDOWS\\SYSTEM32\\install.log"), Outcome::kRefused},
        {"dot-dot to Windows", REG_SZ, Entry("C:\\hostile\\..\\windows\\install.log"), Outcome::kRefused},
        {"dot-dot to root", REG_SZ, Entry("C:\\windows\\..\\install.log"), Outcome::kRefused},
        {"dot elements", REG_SZ, Entry("C:\\.\\windows\\.\\system32\\install.log"), Outcome::kRefused},
        {"slash inside", REG_SZ, Entry("C:\\windows/system32\\install.log"), Outcome::kRefused},
        {"doubled backslashes", REG_SZ, Entry("C:\\\\windows\\\\system32\\\\install.log"), Outcome::kRefused},
        {"trailing dot", REG_SZ, Entry("\"C:\\windows.\\install.log\""), Outcome::kRefused},
        {"trailing space", REG_SZ, Entry("\"C:\\windows \\install.log\""), Outcome::kRefused},
        {"trail byte 0x5C", REG_SZ, Entry(std::string(kSoFolder) + "\\install.log"), Outcome::kRemoved},
        {"1023 characters", REG_SZ, OfLength(1023), Outcome::kOffered},
        {"1024 characters", REG_SZ, OfLength(1024), Outcome::kNotInstalled},
        {"REG_EXPAND_SZ %SystemRoot%", REG_EXPAND_SZ, Entry("%SystemRoot%\\system32\\install.log"),
         Outcome::kNotInstalled},
        {"REG_DWORD", REG_DWORD, dword, Outcome::kNotInstalled},
        {"REG_MULTI_SZ, -f in 2nd", REG_MULTI_SZ, Sz("Uninst.exe") + Sz("-f C:\\windows\\install.log") + '\0',
         Outcome::kNotInstalled},
        {"REG_MULTI_SZ, -f in 1st", REG_MULTI_SZ, Entry("C:\\hostile\\inst\\install.log") + Sz("-f C:\\x.log") + '\0',
         Outcome::kOffered},
        {"REG_BINARY, no zero", REG_BINARY, "-fC:\\hostile\\inst\\install.log", Outcome::kOffered},
    };
}

std::string Printable(const std::string& data)
{
    std::string text;
    for (unsigned char c : data) {
        if (c == 0)
            text += "\\0";
        else if (c < 0x20 || c >= 0x80)
            text += "\\x" + std::string(1, "0123456789ABCDEF"[c >> 4]) + "0123456789ABCDEF"[c & 15];
        else
            text += static_cast<char>(c);
    }
    return text.size() > 60 ? text.substr(0, 28) + "..." + text.substr(text.size() - 28) : text;
}

// The folders that must never lose a file. This program is 32-bit: "system32" reaches SysWOW64 for
// it, so the real System32 is written and checked with the redirection off.
struct Canary {
    std::string path;
    bool native;
};

std::vector<Canary> Canaries()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string folder = windows;
    return {
        {std::string(kCurrentDirectory) + "\\" + kCanaryName, false},
        {std::string("C:\\") + kCanaryName, false},
        {folder + "\\" + kCanaryName, false},
        {folder + "\\system32\\" + kCanaryName, true},
        {folder + "\\syswow64\\" + kCanaryName, false},
        {std::string(kHostileRoot) + "\\" + kCanaryName, false},
    };
}

// Turns the file-system redirection off for its lifetime when the canary needs the native path.
class CanaryAccess {
public:
    explicit CanaryAccess(const Canary& canary) : m_native(canary.native)
    {
        if (m_native)
            Wow64DisableWow64FsRedirection(&m_previous);
    }
    ~CanaryAccess()
    {
        if (m_native)
            Wow64RevertWow64FsRedirection(m_previous);
    }
    CanaryAccess(const CanaryAccess&) = delete;
    CanaryAccess& operator=(const CanaryAccess&) = delete;

private:
    bool m_native;
    void* m_previous = nullptr;
};

void PlantCanaries()
{
    CreateDirectoryA(kHostileRoot, nullptr);
    CreateDirectoryA(kSoFolder, nullptr);
    CreateDirectoryA(kCurrentDirectory, nullptr);
    for (const Canary& canary : Canaries()) {
        const CanaryAccess access(canary);
        WriteTextFile(canary.path, "canary");
    }
}

// Leaves the prefix as it was for the other tests.
void RemovePlantedFiles()
{
    for (const Canary& canary : Canaries()) {
        const CanaryAccess access(canary);
        DeleteFileA(canary.path.c_str());
    }
    RemoveTree(kHostileRoot);
    RemoveTree(kCurrentDirectory);
    RemoveProductKey();
}

std::string MissingCanaries()
{
    std::string missing;
    for (const Canary& canary : Canaries()) {
        const CanaryAccess access(canary);
        if (!FileExists(canary.path))
            missing += (missing.empty() ? "" : ", ") + canary.path;
    }
    return missing;
}

// What the dialog showed, read as the user sees it.
std::string DialogState(HWND dialog)
{
    const std::string prompt = ControlText(dialog, IDC_PROMPT);
    const bool yesShown = IsControlShown(dialog, IDOK);
    const std::string second = ControlText(dialog, IDCANCEL);
    if (prompt == kQuestion && yesShown && ControlText(dialog, IDOK) == kYes && second == kNo)
        return NameOf(Outcome::kOffered);
    if (prompt == kNotInstalled && !yesShown && second == kClose)
        return NameOf(Outcome::kNotInstalled);
    return "prompt \"" + prompt + "\", second button \"" + second + "\"";
}

bool WaitForLogView(HWND dialog)
{
    for (int i = 0; i < 500; ++i) {
        if (IsControlShown(dialog, IDC_LOG))
            return true;
        Sleep(10);
    }
    return false;
}

struct Observed {
    std::string state;  // what the dialog showed first
    std::string after;  // what the removal ended in, if one ran
    DWORD exitCode = STILL_ACTIVE;
};

// Starts the program, reads its state and drives it to its end the way the case calls for.
Observed Drive(const HostileCase& entry)
{
    Observed seen;
    ProgramRun program;
    if (!program.Start(BuildFolder() + "\\Morvane.exe", "", kCurrentDirectory)) {
        seen.state = "cannot start";
        return seen;
    }
    const HWND dialog = WaitForProcessDialog(program.ProcessId(), kDialogCaption);
    if (dialog == nullptr) {
        seen.state = "no dialog";
        seen.exitCode = program.WaitForExit(0);
        return seen;
    }
    seen.state = DialogState(dialog);
    if (seen.state == NameOf(Outcome::kOffered) &&
        (entry.expected == Outcome::kRefused || entry.expected == Outcome::kRemoved)) {
        PostCommand(dialog, IDOK);
        const HWND box = WaitForProcessDialog(program.ProcessId(), "Morvane");
        const std::string result = box ? ControlText(box, 0xFFFF) : "no result box";
        if (box)
            PostCommand(box, IDOK);
        if (result == kRemoved) {
            seen.after = NameOf(Outcome::kRemoved);
        } else if (result == kNotRemoved && WaitForLogView(dialog) && !IsControlShown(dialog, IDOK) &&
                   !IsControlShown(dialog, IDC_PROMPT) && ControlText(dialog, IDCANCEL) == kClose) {
            const std::string log = ControlText(dialog, IDC_LOG);
            seen.after = log == kRefusedLog ? NameOf(Outcome::kRefused) : "log \"" + log + "\"";
            PostCommand(dialog, IDCANCEL);
        } else {
            seen.after = "result \"" + result + "\"";
        }
    } else {
        PostCommand(dialog, IDCANCEL);
    }
    seen.exitCode = program.WaitForExit();
    return seen;
}

TEST(HostileEntries, NeverDeleteOutsideTheInstallFolderAndShowTheRuledState)
{
    const std::vector<HostileCase> cases = Cases();
    std::printf("%-28s %-62s %-14s %-14s %4s  %s\n", "case", "UninstallString", "expected", "seen", "exit",
                "canaries");
    for (const HostileCase& entry : cases) {
        SCOPED_TRACE(entry.name);
        PlantCanaries();
        const std::string ordinaryFile = OrdinaryFile();
        const std::string preservedFile = PreservedFile();
        WriteTextFile(ordinaryFile, "canary");
        WriteTextFile(preservedFile, "canary");
        CreateProductKey(entry.type, entry.data);

        const Observed seen = Drive(entry);
        const std::string missing = MissingCanaries();
        const bool removal = entry.expected == Outcome::kRefused || entry.expected == Outcome::kRemoved;
        std::printf("%-28s %-62s %-14s %-14s %4ld  %s\n", entry.name, Printable(entry.data).c_str(),
                    NameOf(entry.expected), (removal ? seen.after : seen.state).c_str(),
                    static_cast<long>(seen.exitCode), missing.empty() ? "all there" : ("LOST " + missing).c_str());

        EXPECT_EQ(missing, "");
        EXPECT_TRUE(FileExists(preservedFile));
        if (removal) {
            EXPECT_EQ(seen.state, NameOf(Outcome::kOffered));
            EXPECT_EQ(seen.after, NameOf(entry.expected));
            EXPECT_EQ(seen.exitCode, entry.expected == Outcome::kRemoved ? 1u : 2u);
            EXPECT_FALSE(ProductKeyExists());
        } else {
            EXPECT_EQ(seen.state, NameOf(entry.expected));
            EXPECT_EQ(seen.exitCode, 2u);
            EXPECT_TRUE(ProductKeyExists());
        }
        // Only the ordinary install folder of the double-byte case loses its plain file.
        EXPECT_EQ(FileExists(ordinaryFile), entry.expected != Outcome::kRemoved);
    }
    std::fflush(stdout);
    RemovePlantedFiles();
}

} // namespace
