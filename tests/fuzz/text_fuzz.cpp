// Fuzzes the substring search, the backslash search and the buffer release of the text helpers.
// Input: [flags][start][needle] 0xFF [text]; flags bit 0 chooses code page 932 over a single-byte
// one, start is a signed byte.

#include "tests/fuzz/FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The first character start at or after start where needle begins, by trying each one.
int ReferenceFind(std::string_view text, std::string_view needle, int start, const std::vector<std::size_t>& starts)
{
    for (std::size_t at : starts) {
        if (static_cast<int>(at) >= start && at + needle.size() <= text.size() &&
            text.substr(at, needle.size()) == needle)
            return static_cast<int>(at);
    }
    return -1;
}

void CheckFind(std::string_view text, std::string_view needle, int start, const LeadByteTable& lead, bool singleByte)
{
    const std::vector<std::size_t> starts = CharacterStarts(text, lead);
    const int found = FindSubstring(text, needle, start, lead);
    FUZZ_CHECK(found == ReferenceFind(text, needle, start, starts));
    if (found >= 0) {
        FUZZ_CHECK(std::binary_search(starts.begin(), starts.end(), static_cast<std::size_t>(found)));
        FUZZ_CHECK(text.substr(found, needle.size()) == needle);
    }
    // Under a single-byte code page the search is the plain byte search.
    if (singleByte) {
        const std::size_t plain = text.find(needle, static_cast<std::size_t>(std::max(start, 0)));
        FUZZ_CHECK(found == (plain == std::string_view::npos ? -1 : static_cast<int>(plain)));
    }
}

void CheckBackslash(std::string_view text, const LeadByteTable& lead, bool singleByte)
{
    const std::vector<std::size_t> starts = CharacterStarts(text, lead);
    const std::size_t found = FindBackslash(text, lead);
    std::size_t expected = std::string_view::npos;
    for (std::size_t at : starts) {
        if (at < text.size() && text[at] == '\\') {
            expected = at;
            break;
        }
    }
    FUZZ_CHECK(found == expected);
    // Never a trail byte: what it finds is a character of its own.
    if (found != std::string_view::npos)
        FUZZ_CHECK(std::binary_search(starts.begin(), starts.end(), found) && text[found] == '\\');
    if (singleByte)
        FUZZ_CHECK(found == text.find('\\'));
}

// A system call fills a buffer, possibly without any zero byte: the length comes out as the bytes
// before the first zero, never more than the buffer.
void CheckRelease(std::string_view filled)
{
    std::string text = "previous contents";
    char* buffer = GetBuffer(text, filled.size());
    std::copy(filled.begin(), filled.end(), buffer);
    ReleaseBuffer(text);
    const std::size_t zero = filled.find('\0');
    const std::size_t expected = zero == std::string_view::npos ? filled.size() : zero;
    FUZZ_CHECK(text.size() == expected);
    FUZZ_CHECK(std::string_view(text) == filled.substr(0, expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const LeadByteTable& lead = TableOf(data[0]);
    const bool singleByte = (data[0] & 1) == 0;
    const int start = static_cast<std::int8_t>(data[1]);
    const TextPair pair = SplitPair(data + 2, size - 2);
    const std::string_view needle = pair.first.View();
    const std::string_view text = pair.second.View();

    CheckFind(text, needle, start, lead, singleByte);
    CheckBackslash(text, lead, singleByte);
    CheckRelease(text);
    return 0;
}
