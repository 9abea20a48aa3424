// libFuzzer targets for the engine's text helpers, built once per target (-DFUZZ_text, -DFUZZ_compare,
// -DFUZZ_token) and checked against simple reference models. The first input byte chooses the code
// page (odd: 932, even: single-byte). Every text handed to the engine is a heap block of exactly its
// length, so AddressSanitizer stops a read past its end.
#include "engine/UninstallValue.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#define CHECK(c) ((c) ? (void)0 : (std::fprintf(stderr, "property failed: %s\n", #c), std::abort()))

struct Exact {  // a std::string would keep a short text inside itself, out of ASan's sight
    explicit Exact(std::string_view s) : bytes(s.begin(), s.end()) {}
    std::string_view operator()() const { return {bytes.data(), bytes.size()}; }
    std::vector<char> bytes;
};

// Where characters begin, walking one at a time, and the end; a lead byte at the end stands alone.
static std::vector<std::size_t> Starts(std::string_view t, const LeadByteTable& lead)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < t.size(); i += lead.IsLead(t[i]) && i + 1 < t.size() ? 2 : 1)
        starts.push_back(i);
    starts.push_back(t.size());
    return starts;
}

// Two texts from one input: split at the first 0xFF (no character of code page 932 uses it), or
// in the middle.
inline std::pair<std::string_view, std::string_view> Split(std::string_view in)
{
    const std::size_t at = in.find('\xFF');
    if (at == std::string_view::npos)
        return {in.substr(0, in.size() / 2), in.substr(in.size() / 2)};
    return {in.substr(0, at), in.substr(at + 1)};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const LeadByteTable tables[] = {LeadByteTable::SingleByte(), LeadByteTable::ShiftJis()};
    const LeadByteTable& lead = tables[data[0] & 1];
    const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
#if defined(FUZZ_text)  // [start][needle] 0xFF [text]: substring and backslash search, buffer release
    if (in.empty())
        return 0;
    const int start = static_cast<std::int8_t>(in[0]);
    const auto [n, t] = Split(in.substr(1));
    const Exact needle(n), text(t);
    int expected = -1;
    std::size_t backslash = std::string_view::npos;
    for (std::size_t at : Starts(t, lead)) {
        if (expected < 0 && static_cast<int>(at) >= start && t.substr(at, n.size()) == n)
            expected = static_cast<int>(at);
        if (backslash == std::string_view::npos && at < t.size() && t[at] == '\\')
            backslash = at;
    }
    CHECK(FindSubstring(text(), needle(), start, lead) == expected);
    CHECK(FindBackslash(text(), lead) == backslash);
    std::string released = "previous contents";  // a system call may fill the buffer without a zero
    std::memcpy(GetBuffer(released, t.size()), t.data(), t.size());
    ReleaseBuffer(released);
    CHECK(released == t.substr(0, t.find('\0')));
#elif defined(FUZZ_compare)  // [a] 0xFF [b]: against folding single-byte ASCII letters, then comparing bytes
    const auto [a, b] = Split(in);
    const auto folded = [&](std::string_view t) {
        std::string f(t);
        for (std::size_t at : Starts(t, lead))
            if (at < t.size() && t[at] >= 'A' && t[at] <= 'Z')  // a trail byte is never folded
                f[at] = static_cast<char>(t[at] + 32);
        return f;
    };
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    const Exact ea(a), eb(b);
    CHECK(sign(CompareNoCase(ea(), eb(), lead)) == sign(folded(a).compare(folded(b))));
#elif defined(FUZZ_token)  // [value]: the path after the first "-f", and the absolute-folder rule
    const Exact value(in);
    std::string token = "\x01untouched";
    const bool found = ExtractPathToken(value(), token, lead);
    std::size_t at = in.size();
    for (std::size_t s : Starts(in, lead))
        if (s < at && in.substr(s, 2) == "-f")
            at = s + 2;
    while (at < in.size() && (in[at] == ' ' || in[at] == '\t'))
        ++at;
    CHECK(found == (at < in.size()));
    if (found) {
        const bool quoted = in[at] == '"';
        const std::size_t begin = at + quoted, end = std::min(in.find_first_of(quoted ? "\"" : " \t", begin), in.size());
        CHECK(token == in.substr(begin, end - begin));
    } else {
        CHECK(token == "\x01untouched");
    }
    IsAbsoluteFolder(Exact(token)(), lead);  // its rule is in the install-folder table: here only memory errors
#endif
    return 0;
}
