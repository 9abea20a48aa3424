#pragma once

// Text in the ANSI (multi-byte) code page: std::string holds the bytes; these helpers know where
// characters begin, so that no search or comparison ever takes the trail byte of a double-byte
// character for a character of its own (in code page 932 a trail byte can be 0x5C, the backslash).
// Pure code: no Windows header, so it also builds natively for fuzzing.

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

// Which bytes lead a double-byte character.
class LeadByteTable {
public:
    static LeadByteTable SingleByte();  // code page 1252 and every other single-byte code page
    static LeadByteTable ShiftJis();    // code page 932
    template <class IsLead> static LeadByteTable From(IsLead isLead)
    {
        LeadByteTable table;
        for (int byte = 0; byte < 256; ++byte)
            table.m_lead[byte] = isLead(static_cast<unsigned char>(byte));
        return table;
    }

    bool IsLead(unsigned char byte) const { return m_lead[byte]; }
    bool operator==(const LeadByteTable& other) const;

private:
    bool m_lead[256] = {};
};

// The table of the process's ANSI code page (for the engine; built once, on first use).
const LeadByteTable& AnsiLeadBytes();

// Byte index of the first occurrence of needle that begins a character at or after the byte index
// start, or -1. Case-sensitive. An empty needle matches at start.
int FindSubstring(std::string_view text, std::string_view needle, int start, const LeadByteTable& lead);

// Compares two texts, folding the ASCII letters; a double-byte character compares by its two bytes,
// so its trail byte is never folded. Result below, at or above 0, as strcmp.
int CompareNoCase(std::string_view a, std::string_view b, const LeadByteTable& lead);

// Byte index of the first character of its own that is one of the given single-byte characters,
// or std::string_view::npos.
std::size_t FindCharacterOf(std::string_view text, std::string_view characters, const LeadByteTable& lead);

// Byte index of the first backslash that is a character of its own, or std::string_view::npos.
std::size_t FindBackslash(std::string_view text, const LeadByteTable& lead);

// True when the text's last character is a backslash of its own (not the trail byte of ソ).
bool EndsWithBackslash(std::string_view text, const LeadByteTable& lead);

// printf-style formatting: measures the result first, then writes exactly that many bytes.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// The same with the values in a va_list, for functions that take printf-style arguments themselves.
std::string FormatTextList(const char* format, va_list args);

// A writable buffer of `size` bytes inside text, for a system call to fill; afterwards
// ReleaseBuffer sets the length to the bytes before the first zero (never beyond the buffer).
char* GetBuffer(std::string& text, std::size_t size);
void ReleaseBuffer(std::string& text);
