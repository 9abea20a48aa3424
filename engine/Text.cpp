#include "engine/Text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

LeadByteTable LeadByteTable::SingleByte()
{
    return LeadByteTable();
}

LeadByteTable LeadByteTable::ShiftJis()
{
    return From([](unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); });
}

bool LeadByteTable::operator==(const LeadByteTable& other) const
{
    return std::memcmp(m_lead, other.m_lead, sizeof m_lead) == 0;
}

namespace {

// Length in bytes of the character that starts at index i: 2 for a lead byte followed by its trail
// byte, else 1 (a lead byte at the very end stands alone).
std::size_t CharLength(std::string_view text, std::size_t i, const LeadByteTable& lead)
{
    return i + 1 < text.size() && lead.IsLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int FindSubstring(std::string_view text, std::string_view needle, int start, const LeadByteTable& lead)
{
    if (start < 0)
        start = 0;
    for (std::size_t i = 0; i + needle.size() <= text.size(); i += CharLength(text, i, lead)) {
        if (i >= static_cast<std::size_t>(start) && text.compare(i, needle.size(), needle) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CompareNoCase(std::string_view a, std::string_view b, const LeadByteTable& lead)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size()) {
        const std::size_t lengthA = CharLength(a, i, lead);
        const std::size_t lengthB = CharLength(b, i, lead);
        unsigned char byteA = static_cast<unsigned char>(lengthA == 1 ? FoldAscii(a[i]) : a[i]);
        unsigned char byteB = static_cast<unsigned char>(lengthB == 1 ? FoldAscii(b[i]) : b[i]);
        if (byteA != byteB)
            return byteA < byteB ? -1 : 1;
        // Same first byte, so both are lead bytes or neither is; only a lead byte that ends its
        // text stands alone, and then that text has no byte after it to compare.
        if (lengthA == 2 && lengthB == 2) {
            byteA = static_cast<unsigned char>(a[i + 1]);
            byteB = static_cast<unsigned char>(b[i + 1]);
            if (byteA != byteB)
                return byteA < byteB ? -1 : 1;
        }
        i += lengthA;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::size_t FindCharacterOf(std::string_view text, std::string_view characters, const LeadByteTable& lead)
{
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, lead)) {
        if (CharLength(text, i, lead) == 1 && characters.find(text[i]) != std::string_view::npos)
            return i;
    }
    return std::string_view::npos;
}

std::size_t FindBackslash(std::string_view text, const LeadByteTable& lead)
{
    return FindCharacterOf(text, "\\", lead);
}

bool EndsWithBackslash(std::string_view text, const LeadByteTable& lead)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, lead))
        last = i;
    return last != std::string_view::npos && CharLength(text, last, lead) == 1 && text[last] == '\\';
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatTextList(format, args);
    va_end(args);
    return text;
}

std::string FormatTextList(const char* format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);

    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        // The string's own terminating zero takes the last byte vsnprintf writes.
        std::vsnprintf(&text[0], text.size() + 1, format, args);
    }
    return text;
}

char* GetBuffer(std::string& text, std::size_t size)
{
    text.resize(size);
    return &text[0];
}

void ReleaseBuffer(std::string& text)
{
    text.resize(strnlen(text.data(), text.size()));
}
