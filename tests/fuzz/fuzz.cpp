// libFuzzer targets for the engine's text helpers, built once per target (-DFUZZ_text, -DFUZZ_compare,
// -DFUZZ_token). They look for memory errors only (AddressSanitizer, UndefinedBehaviorSanitizer):
// what the helpers give is checked where it shows, in the engine's tests. The first input byte
// chooses the code page (odd: 932, even: single-byte). Every text handed over is a heap block of
// exactly its length, so a read past its end stops the run.
#include "engine/UninstallValue.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct Exact {  // a std::string would keep a short text inside itself, out of AddressSanitizer's sight
    explicit Exact(std::string_view s) : bytes(s.begin(), s.end()) {}
    std::string_view operator()() const { return {bytes.data(), bytes.size()}; }
    std::vector<char> bytes;
};

// Two texts from one input: split at the first 0xFF (no character of code page 932 uses it), or in the middle.
[[maybe_unused]] std::pair<Exact, Exact> Split(std::string_view in)  // not for the token target
{
    const std::size_t at = in.find('\xFF');
    if (at == std::string_view::npos)
        return {Exact(in.substr(0, in.size() / 2)), Exact(in.substr(in.size() / 2))};
    return {Exact(in.substr(0, at)), Exact(in.substr(at + 1))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const LeadByteTable tables[] = {LeadByteTable::SingleByte(), LeadByteTable::ShiftJis()};
    const LeadByteTable& lead = tables[data[0] & 1];
    const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
#if defined(FUZZ_text)  // [start][needle] 0xFF [text]: substring and backslash search, buffer release
    const auto [needle, text] = Split(in.substr(1));
    FindSubstring(text(), needle(), static_cast<std::int8_t>(in[0]), lead);
    FindBackslash(text(), lead);
    std::string released;  // a system call may fill the buffer without a zero
    std::copy(text().begin(), text().end(), GetBuffer(released, text().size()));
    ReleaseBuffer(released);
#elif defined(FUZZ_compare)  // [a] 0xFF [b]: the case-insensitive comparison
    const auto [a, b] = Split(in);
    CompareNoCase(a(), b(), lead);
#elif defined(FUZZ_token)  // [value]: the path after "-f", and the absolute-folder rule on it
    std::string token;
    if (ExtractPathToken(Exact(in)(), token, lead))
        IsAbsoluteFolder(Exact(token)(), lead);
#endif
    return 0;
}
