#include "tests/resources/ProgramResources.h"

#include <shlwapi.h>

#include <algorithm>

namespace {

// The program loaded as a data file, released when the test program ends.
class CDataFileModule {
public:
    explicit CDataFileModule(const std::string& path)
        : m_module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~CDataFileModule()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    CDataFileModule(const CDataFileModule&) = delete;
    CDataFileModule& operator=(const CDataFileModule&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

NameOrOrdinal ReadNameOrOrdinal(CByteReader& reader)
{
    NameOrOrdinal value;
    WORD first = reader.Word();
    if (first == 0xFFFF) {
        value.ordinal = reader.Word();
    } else if (first != 0) {
        value.name.push_back(static_cast<wchar_t>(first));
        value.name += reader.Text();
    }
    return value;
}

} // namespace

std::string ProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    // build folder\tests\resources\resource_tests.exe: drop the file name and two folders.
    for (int i = 0; i < 3; ++i)
        PathRemoveFileSpecA(path);
    PathAppendA(path, "Morvane.exe");
    return path;
}

HMODULE Program()
{
    static const CDataFileModule program(ProgramPath());
    return program.Get();
}

std::string ResourceBytes(LPCSTR type, WORD id, WORD language)
{
    HRSRC found = FindResourceExA(Program(), type, MAKEINTRESOURCEA(id), language);
    HGLOBAL loaded = found ? LoadResource(Program(), found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data) {
        ADD_FAILURE() << "no resource of type " << reinterpret_cast<ULONG_PTR>(type) << ", id " << id
                      << ", language " << std::hex << language;
        return std::string();
    }
    return std::string(data, SizeofResource(Program(), found));
}

BYTE CByteReader::Byte()
{
    if (m_offset + 1 > m_bytes.size()) {
        m_overrun = true;
        return 0;
    }
    return static_cast<BYTE>(m_bytes[m_offset++]);
}

WORD CByteReader::Word()
{
    BYTE low = Byte();
    return static_cast<WORD>(low | Byte() << 8);
}

DWORD CByteReader::DWord()
{
    WORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
}

std::string CByteReader::Bytes(size_t count)
{
    if (count > m_bytes.size() - std::min(m_offset, m_bytes.size())) {
        m_overrun = true;
        m_offset = m_bytes.size();
        return std::string();
    }
    std::string part = m_bytes.substr(m_offset, count);
    m_offset += count;
    return part;
}

std::wstring CByteReader::Text()
{
    std::wstring text;
    for (WORD unit = Word(); unit != 0 && !m_overrun; unit = Word())
        text.push_back(static_cast<wchar_t>(unit));
    return text;
}

void CByteReader::AlignTo4()
{
    m_offset = (m_offset + 3) & ~size_t(3);
}

void PrintTo(const NameOrOrdinal& value, std::ostream* out)
{
    if (value.name.empty())
        *out << "ordinal " << value.ordinal;
    else
        *out << testing::PrintToString(value.name);
}

NameOrOrdinal Name(const wchar_t* name)
{
    return NameOrOrdinal{0, name};
}

NameOrOrdinal Ordinal(WORD ordinal)
{
    return NameOrOrdinal{ordinal, std::wstring()};
}

DialogTemplate ReadDialogTemplate(const std::string& bytes)
{
    CByteReader reader(bytes);
    DialogTemplate dialog{};
    dialog.version = reader.Word();
    dialog.signature = reader.Word();
    dialog.helpId = reader.DWord();
    dialog.exStyle = reader.DWord();
    dialog.style = reader.DWord();
    dialog.itemCount = reader.Word();
    dialog.x = reader.Short();
    dialog.y = reader.Short();
    dialog.cx = reader.Short();
    dialog.cy = reader.Short();
    dialog.menu = ReadNameOrOrdinal(reader);
    dialog.windowClass = ReadNameOrOrdinal(reader);
    dialog.title = reader.Text();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = reader.Word();
        dialog.weight = reader.Word();
        dialog.italic = reader.Byte();
        dialog.charset = reader.Byte();
        dialog.typeface = reader.Text();
    }
    for (WORD i = 0; i < dialog.itemCount && !reader.Overrun(); ++i) {
        reader.AlignTo4();
        DialogItem item{};
        item.helpId = reader.DWord();
        item.exStyle = reader.DWord();
        item.style = reader.DWord();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.DWord();
        item.windowClass = ReadNameOrOrdinal(reader);
        item.text = ReadNameOrOrdinal(reader);
        item.creationDataSize = reader.Word();
        reader.Bytes(item.creationDataSize);
        dialog.items.push_back(item);
    }
    dialog.overrun = reader.Overrun();
    return dialog;
}

VersionNode ReadVersionNode(CByteReader& reader)
{
    reader.AlignTo4();
    size_t start = reader.Offset();
    WORD length = reader.Word();
    WORD valueLength = reader.Word();
    VersionNode node{};
    node.type = reader.Word();
    node.key = reader.Text();
    reader.AlignTo4();
    // A text value's length counts UTF-16 units, a binary value's counts bytes.
    node.value = reader.Bytes(node.type == 1 ? valueLength * 2u : valueLength);
    reader.AlignTo4();
    while (reader.Offset() < start + length && !reader.Overrun())
        node.children.push_back(ReadVersionNode(reader));
    return node;
}
