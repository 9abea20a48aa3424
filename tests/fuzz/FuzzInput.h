#pragma once

// Turns a fuzzer input into the arguments of the text helpers. Every text handed to the engine is
// its own heap block of exactly its length, with no terminating zero after it, so that
// AddressSanitizer stops any read past a text's end.

#include "engine/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

// A text that owns exactly its bytes.
class ExactText {
public:
    ExactText(const std::uint8_t* data, std::size_t size) : m_bytes(new char[size ? size : 1]), m_size(size)
    {
        if (size)
            std::memcpy(m_bytes.get(), data, size);
    }
    std::string_view View() const { return std::string_view(m_bytes.get(), m_size); }

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size;
};

// The first byte of an input chooses the code page: odd for 932, even for a single-byte one.
inline const LeadByteTable& TableOf(std::uint8_t flags)
{
    static const LeadByteTable shiftJis = LeadByteTable::ShiftJis();
    static const LeadByteTable singleByte = LeadByteTable::SingleByte();
    return (flags & 1) ? shiftJis : singleByte;
}

// Byte indexes at which a character begins, and the end of the text, found by walking the text one
// character at a time. A lead byte in the last position stands alone.
inline std::vector<std::size_t> CharacterStarts(std::string_view text, const LeadByteTable& lead)
{
    std::vector<std::size_t> starts;
    std::size_t i = 0;
    while (i < text.size()) {
        starts.push_back(i);
        i += lead.IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

// Two texts from one input: split at the first 0xFF byte (no character of code page 932 uses it),
// or in the middle when there is none.
struct TextPair {
    ExactText first;
    ExactText second;
};

inline TextPair SplitPair(const std::uint8_t* data, std::size_t size)
{
    const void* separator = std::memchr(data, 0xFF, size);
    if (separator) {
        const std::size_t at = static_cast<const std::uint8_t*>(separator) - data;
        return TextPair{ExactText(data, at), ExactText(data + at + 1, size - at - 1)};
    }
    return TextPair{ExactText(data, size / 2), ExactText(data + size / 2, size - size / 2)};
}

// A failed property: say which and stop, so libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)
