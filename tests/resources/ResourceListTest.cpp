// Which resources the built program carries, in which languages, and the program name and icon.

#include "tests/resources/ProgramResources.h"

#include "res/resource.h"

#include <cstdio>
#include <set>

namespace {

using ResourceList = ProgramTest;
using ProgramName = ProgramTest;
using ProgramIcon = ProgramTest;

std::string Identify(LPCSTR value)
{
    return IS_INTRESOURCE(value) ? std::to_string(reinterpret_cast<ULONG_PTR>(value)) : std::string(value);
}

std::string Describe(LPCSTR type, LPCSTR name, WORD language)
{
    char hex[8];
    std::snprintf(hex, sizeof(hex), "%04X", language);
    return "type " + Identify(type) + ", name " + Identify(name) + ", language " + hex;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::vector<std::string>*>(found)->push_back(Describe(type, name, language));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found)
{
    EnumResourceLanguagesA(module, type, name, AddLanguage, found);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR found)
{
    EnumResourceNamesA(module, type, AddName, found);
    return TRUE;
}

TEST_F(ResourceList, EveryResourceInItsLanguageAndNothingElse)
{
    std::vector<std::string> found;
    EnumResourceTypesA(Program(), AddType, reinterpret_cast<LONG_PTR>(&found));
    const std::vector<std::string> expected = {
        "type 3, name 1, language 0411",    // icon image 32x32
        "type 3, name 2, language 0411",    // icon image 16x16
        "type 5, name 100, language 0411",  // About box
        "type 5, name 129, language 0411",  // main dialog
        "type 6, name 9, language 0411",    // strings 128 to 143
        "type 14, name 128, language 0411", // icon group
        "type 16, name 1, language 0409",   // version record
        "type 24, name 1, language 0409",   // manifest
    };
    EXPECT_EQ(expected, found);
}

TEST_F(ProgramName, String128IsTheOnlyStringOfItsBlock)
{
    // A string block holds ids 16 * (block - 1) to 16 * block - 1, each as a counted UTF-16 text.
    std::string block = ResourceBytes(RT_STRING, IDR_APP / 16 + 1, kJapanese);
    CByteReader reader(block);
    std::vector<std::wstring> strings;
    for (int i = 0; i < 16; ++i) {
        std::wstring text;
        for (WORD length = reader.Word(); length > 0; --length)
            text.push_back(static_cast<wchar_t>(reader.Word()));
        strings.push_back(text);
    }
    EXPECT_FALSE(reader.Overrun());
    EXPECT_EQ(block.size(), reader.Offset());
    std::vector<std::wstring> expected(16);
    expected[IDR_APP % 16] = L"Morvane";
    EXPECT_EQ(expected, strings);

    char loaded[64] = {};
    EXPECT_EQ(7, LoadStringA(Program(), IDR_APP, loaded, sizeof(loaded)));
    EXPECT_STREQ("Morvane", loaded);
}

struct ExpectedImage {
    WORD id;
    BYTE size;
    BYTE colourCount; // 0 stands for 256 colours
    WORD bits;
};

const ExpectedImage kImages[] = {
    {1, 32, 0, 8},
    {2, 16, 16, 4},
};

TEST_F(ProgramIcon, GroupListsTheTwoImages)
{
    std::string group = ResourceBytes(RT_GROUP_ICON, IDR_APP, kJapanese);
    CByteReader reader(group);
    EXPECT_EQ(0, reader.Word()); // reserved
    EXPECT_EQ(1, reader.Word()); // icon, not cursor
    ASSERT_EQ(2, reader.Word());
    for (const ExpectedImage& image : kImages) {
        SCOPED_TRACE(testing::Message() << "image " << image.id);
        EXPECT_EQ(image.size, reader.Byte());
        EXPECT_EQ(image.size, reader.Byte());
        EXPECT_EQ(image.colourCount, reader.Byte());
        EXPECT_EQ(0, reader.Byte());
        EXPECT_EQ(1, reader.Word()); // planes
        EXPECT_EQ(image.bits, reader.Word());
        EXPECT_EQ(ResourceBytes(RT_ICON, image.id, kJapanese).size(), reader.DWord());
        EXPECT_EQ(image.id, reader.Word());
    }
    EXPECT_FALSE(reader.Overrun());
    EXPECT_EQ(group.size(), reader.Offset());
}

// Bytes of one row of a bitmap: rows are padded to whole 32-bit units.
size_t RowBytes(size_t width, size_t bits)
{
    return (width * bits + 31) / 32 * 4;
}

TEST_F(ProgramIcon, ImagesAreGlyphsOnATransparentBackground)
{
    for (const ExpectedImage& image : kImages) {
        SCOPED_TRACE(testing::Message() << "image " << image.id);
        std::string bytes = ResourceBytes(RT_ICON, image.id, kJapanese);
        CByteReader reader(bytes);
        EXPECT_EQ(40u, reader.DWord()); // BITMAPINFOHEADER
        EXPECT_EQ(image.size, reader.DWord());
        EXPECT_EQ(image.size * 2u, reader.DWord()); // colour bits and mask
        EXPECT_EQ(1, reader.Word());
        EXPECT_EQ(image.bits, reader.Word());
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), reader.DWord());

        const size_t colours = size_t(1) << image.bits;
        const size_t colourRow = RowBytes(image.size, image.bits);
        const size_t maskRow = RowBytes(image.size, 1);
        const size_t paletteAt = 40;
        const size_t pixelsAt = paletteAt + colours * 4;
        const size_t maskAt = pixelsAt + colourRow * image.size;
        ASSERT_EQ(maskAt + maskRow * image.size, bytes.size());
        EXPECT_EQ(std::string(4, '\0'), bytes.substr(paletteAt, 4)) << "colour 0 is black";

        size_t transparent = 0;
        std::set<int> shown;
        for (size_t y = 0; y < image.size; ++y) {
            for (size_t x = 0; x < image.size; ++x) {
                const BYTE packed = static_cast<BYTE>(bytes[pixelsAt + y * colourRow + x * image.bits / 8]);
                const int shift = 8 - image.bits - static_cast<int>(x * image.bits % 8);
                const int colour = (packed >> shift) & (colours - 1);
                const bool masked = static_cast<BYTE>(bytes[maskAt + y * maskRow + x / 8]) & (0x80 >> x % 8);
                if (masked) {
                    ++transparent;
                    // A masked pixel must be black, or it would invert the background.
                    EXPECT_EQ(0, colour) << "pixel " << x << ", " << y;
                } else {
                    shown.insert(colour);
                }
            }
        }
        EXPECT_GT(transparent, 0u);
        EXPECT_LT(transparent, image.size * image.size / 2u) << "the glyph covers most of the square";
        EXPECT_GE(shown.size(), 4u) << "the glyph is drawn in several colours";
    }
}

// An icon made by the system from one image, destroyed with its owner object.
class CIcon {
public:
    explicit CIcon(HICON icon) : m_icon(icon) {}
    ~CIcon()
    {
        if (m_icon)
            DestroyIcon(m_icon);
    }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    HICON Get() const { return m_icon; }

private:
    HICON m_icon;
};

TEST_F(ProgramIcon, SystemPicksAndBuildsEachImageForItsSize)
{
    std::string group = ResourceBytes(RT_GROUP_ICON, IDR_APP, kJapanese);
    for (const ExpectedImage& image : kImages) {
        SCOPED_TRACE(testing::Message() << "image " << image.id);
        EXPECT_EQ(image.id, LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(&group[0]), TRUE, image.size,
                                                        image.size, LR_DEFAULTCOLOR));
        std::string bits = ResourceBytes(RT_ICON, image.id, kJapanese);
        CIcon icon(CreateIconFromResourceEx(reinterpret_cast<PBYTE>(&bits[0]), static_cast<DWORD>(bits.size()),
                                            TRUE, 0x00030000, image.size, image.size, LR_DEFAULTCOLOR));
        EXPECT_NE(nullptr, icon.Get()) << GetLastError();
    }
}

} // namespace
