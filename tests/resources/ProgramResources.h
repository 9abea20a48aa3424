#pragma once

// Access to the resources of the built Morvane.exe, loaded as a data file, and readers for the
// binary resource formats the tests check field by field.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);   // 0x0411
constexpr WORD kEnglishUS = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US); // 0x0409

// Full path of Morvane.exe in the build folder, two folders above this test program.
std::string ProgramPath();

// The program mapped as a data file; null when it cannot be loaded.
HMODULE Program();

// Every test starts from the loaded program.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, Program()) << "cannot load " << ProgramPath(); }
};

// The bytes of one resource in one language; empty, with a test failure, when it is missing.
std::string ResourceBytes(LPCSTR type, WORD id, WORD language);

// Sequential little-endian reads inside one resource. Reading past the end yields zeros and
// marks the reader as overrun, so a truncated resource fails the checks instead of crashing.
class CByteReader {
public:
    explicit CByteReader(const std::string& bytes, size_t offset = 0) : m_bytes(bytes), m_offset(offset) {}

    BYTE Byte();
    WORD Word();
    DWORD DWord();
    short Short() { return static_cast<short>(Word()); }
    std::string Bytes(size_t count);
    std::wstring Text(); // UTF-16 up to its terminating zero, which is consumed
    void AlignTo4();     // alignment counts from the start of the resource
    size_t Offset() const { return m_offset; }
    bool Overrun() const { return m_overrun; }

private:
    const std::string& m_bytes;
    size_t m_offset;
    bool m_overrun = false;
};

// A name-or-ordinal field of a dialog template: 0xFFFF and a number, else a zero-terminated
// UTF-16 name; a lone zero (no menu, system class, empty text) reads as ordinal 0 with no name.
struct NameOrOrdinal {
    WORD ordinal = 0;
    std::wstring name;
    bool operator==(const NameOrOrdinal& other) const { return ordinal == other.ordinal && name == other.name; }
};
void PrintTo(const NameOrOrdinal& value, std::ostream* out);
NameOrOrdinal Name(const wchar_t* name);
NameOrOrdinal Ordinal(WORD ordinal);

struct DialogItem {
    DWORD helpId, exStyle, style;
    short x, y, cx, cy;
    DWORD id;
    NameOrOrdinal windowClass, text;
    WORD creationDataSize;
};

// An extended dialog template (DLGTEMPLATEEX followed by its DLGITEMTEMPLATEEX items).
struct DialogTemplate {
    WORD version, signature;
    DWORD helpId, exStyle, style;
    WORD itemCount;
    short x, y, cx, cy;
    NameOrOrdinal menu, windowClass;
    std::wstring title;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::wstring typeface;
    std::vector<DialogItem> items;
    bool overrun;
};
DialogTemplate ReadDialogTemplate(const std::string& bytes);

// One node of a version resource: key, type (1 text, 0 binary), value bytes and children.
struct VersionNode {
    std::wstring key;
    WORD type;
    std::string value;
    std::vector<VersionNode> children;
};
// Reads the node at the reader's position; its children end where its length says.
VersionNode ReadVersionNode(CByteReader& reader);
