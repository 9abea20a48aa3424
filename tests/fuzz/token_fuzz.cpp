// Fuzzes how the install folder is taken from an UninstallString value: the token after the first
// "-f", and the rule that only an absolute folder (drive root or UNC share, "/" read as "\") is
// accepted. Input: [flags][value]; flags bit 0 chooses code page 932 over a single-byte one.

#include "engine/UninstallValue.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstdio>
#include <string>

namespace {

bool Blank(char c)
{
    return c == ' ' || c == '\t';
}

// The token is the part of the value that the rules name, copied unchanged: it begins after the
// first "-f" that is a character of its own and the blanks after it (and after an opening quote),
// and ends at the closing quote, at a blank for an unquoted token, or at the end of the value.
void CheckToken(std::string_view value, const LeadByteTable& lead)
{
    const std::string untouched = "\x01untouched";
    std::string token = untouched;
    const bool found = ExtractPathToken(value, token, lead);

    std::size_t switchAt = std::string_view::npos;
    for (std::size_t at : CharacterStarts(value, lead)) {
        if (value.substr(at, 2) == "-f") {
            switchAt = at;
            break;
        }
    }
    std::size_t cursor = switchAt == std::string_view::npos ? value.size() : switchAt + 2;
    while (cursor < value.size() && Blank(value[cursor]))
        ++cursor;

    if (switchAt == std::string_view::npos || cursor == value.size()) {
        FUZZ_CHECK(!found);
        FUZZ_CHECK(token == untouched);
        return;
    }
    FUZZ_CHECK(found);
    const bool quoted = value[cursor] == '"';
    const std::size_t begin = quoted ? cursor + 1 : cursor;
    // A substring of the value, at the place the rules give.
    FUZZ_CHECK(begin + token.size() <= value.size());
    FUZZ_CHECK(value.substr(begin, token.size()) == token);
    const std::size_t end = begin + token.size();
    if (quoted) {
        FUZZ_CHECK(token.find('"') == std::string::npos);
        FUZZ_CHECK(end == value.size() || value[end] == '"');
    } else {
        FUZZ_CHECK(!token.empty());
        FUZZ_CHECK(token.find(' ') == std::string::npos && token.find('\t') == std::string::npos);
        FUZZ_CHECK(end == value.size() || Blank(value[end]));
    }
}

// Root length by the rules, from the path's elements: "X:\" is 3; "\\server\share" is the server
// and the share with the backslash after the share if one follows; everything else 0.
std::size_t ExpectedRootLength(std::string_view path, const LeadByteTable& lead)
{
    const bool letter = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z');
    if (letter && path[1] == ':' && path[2] == '\\')
        return 3;
    if (path.substr(0, 2) != "\\\\")
        return 0;
    const std::string_view rest = path.substr(2);
    std::vector<std::string_view> elements;
    std::size_t elementBegin = 0;
    for (std::size_t at : CharacterStarts(rest, lead)) {
        if (at == rest.size() || rest[at] == '\\') {
            elements.push_back(rest.substr(elementBegin, at - elementBegin));
            elementBegin = at + 1;
        }
    }
    if (elements.size() < 2 || elements[0].empty() || elements[1].empty() || elements[0] == "?" || elements[0] == ".")
        return 0;
    const std::size_t length = 2 + elements[0].size() + 1 + elements[1].size();
    return elements.size() > 2 ? length + 1 : length;
}

void CheckFolder(std::string_view folder, const LeadByteTable& lead)
{
    const std::string backslashed = WithBackslashes(folder);
    FUZZ_CHECK(backslashed.size() == folder.size());
    for (std::size_t i = 0; i < folder.size(); ++i)
        FUZZ_CHECK(backslashed[i] == (folder[i] == '/' ? '\\' : folder[i]));

    const ExactText exact(reinterpret_cast<const std::uint8_t*>(backslashed.data()), backslashed.size());
    const std::size_t rootLength = AbsoluteRootLength(exact.View(), lead);
    FUZZ_CHECK(rootLength == ExpectedRootLength(exact.View(), lead));
    FUZZ_CHECK(IsAbsoluteFolder(folder, lead) == (rootLength > 0));
    FUZZ_CHECK(IsAbsoluteFolder(exact.View(), lead) == (rootLength > 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const LeadByteTable& lead = TableOf(data[0]);
    const ExactText value(data + 1, size - 1);

    CheckToken(value.View(), lead);
    CheckFolder(value.View(), lead);

    // The token itself as a folder, the way the install folder is judged.
    std::string token;
    if (ExtractPathToken(value.View(), token, lead)) {
        const ExactText exactToken(reinterpret_cast<const std::uint8_t*>(token.data()), token.size());
        CheckFolder(exactToken.View(), lead);
    }
    return 0;
}
