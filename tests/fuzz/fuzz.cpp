// libFuzzer targets (-DFUZZ_text, -DFUZZ_token) for memory errors in the engine's text helpers. Bit 0 of the
// first byte chooses the code page (1: 932). Each text is a heap block of exactly its length, so that
// AddressSanitizer sees a read past its end (a short std::string would keep it inside itself).
#include "engine/UninstallValue.h"

#include <algorithm>
#include <cstdint>
#include <vector>

using Exact = std::vector<char>;
static std::string_view View(const Exact& text) { return {text.data(), text.size()}; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const LeadByteTable tables[] = {LeadByteTable::SingleByte(), LeadByteTable::ShiftJis()};
    const LeadByteTable& lead = tables[data[0] & 1];
    const Exact in(data + 1, data + size);
    // Two texts: split at the first 0xFF (no character of code page 932 uses it), or in the middle.
    const auto cut = std::find(in.begin(), in.end(), '\xFF');
    const auto end = cut != in.end() ? cut : in.begin() + in.size() / 2;
    const Exact a(in.begin(), end), b(end + (cut != in.end()), in.end());
#if defined(FUZZ_text)  // a in b from the first byte's upper bits; b's last character; a buffer; a compared with b
    FindSubstring(View(b), View(a), static_cast<std::int8_t>(data[0]) >> 1, lead);
    FindBackslash(View(b), lead);
    EndsWithBackslash(View(b), lead);
    std::string released;  // a system call may fill the buffer without a zero
    std::copy(b.begin(), b.end(), GetBuffer(released, b.size()));
    ReleaseBuffer(released);
    CompareNoCase(View(a), View(b), lead);
#elif defined(FUZZ_token)  // the whole input: the path after "-f", and the absolute-folder rule on it
    std::string token;
    if (ExtractPathToken(View(in), token, lead))
        IsAbsoluteFolder(View(Exact(token.begin(), token.end())), lead);
#endif
    return 0;
}
