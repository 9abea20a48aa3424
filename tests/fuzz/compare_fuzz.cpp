// Fuzzes the case-insensitive comparison against a reference: fold the single-byte characters'
// ASCII letters, keep double-byte characters as they are, then compare the bytes.
// Input: [flags][first] 0xFF [second]; flags bit 0 chooses code page 932 over a single-byte one.

#include "tests/fuzz/FuzzInput.h"

#include <cstdio>
#include <string>

namespace {

std::string Folded(std::string_view text, const LeadByteTable& lead)
{
    std::string folded(text);
    const std::vector<std::size_t> starts = CharacterStarts(text, lead);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        char& c = folded[starts[k]];
        if (starts[k + 1] - starts[k] == 1 && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    return folded;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// The same text with the case of every single-byte ASCII letter flipped.
std::string CaseFlipped(std::string_view text, const LeadByteTable& lead)
{
    std::string flipped(text);
    const std::vector<std::size_t> starts = CharacterStarts(text, lead);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        char& c = flipped[starts[k]];
        if (starts[k + 1] - starts[k] == 1 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            c = static_cast<char>(c ^ 0x20);
    }
    return flipped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const LeadByteTable& lead = TableOf(data[0]);
    const TextPair pair = SplitPair(data + 1, size - 1);
    const std::string_view a = pair.first.View();
    const std::string_view b = pair.second.View();

    const int result = CompareNoCase(a, b, lead);
    const std::string foldedA = Folded(a, lead);
    const std::string foldedB = Folded(b, lead);
    // std::string compares its bytes as unsigned char.
    FUZZ_CHECK(Sign(result) == Sign(foldedA.compare(foldedB)));
    FUZZ_CHECK(Sign(CompareNoCase(b, a, lead)) == -Sign(result));
    FUZZ_CHECK(CompareNoCase(a, a, lead) == 0);

    const std::string flipped = CaseFlipped(a, lead);
    const ExactText flippedText(reinterpret_cast<const std::uint8_t*>(flipped.data()), flipped.size());
    FUZZ_CHECK(CompareNoCase(flippedText.View(), a, lead) == 0);
    return 0;
}
