#include "engine/UninstallValue.h"

#include <algorithm>

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

bool ExtractPathToken(std::string_view value, std::string& token, const LeadByteTable& lead)
{
    const int switchAt = FindSubstring(value, "-f", 0, lead);
    if (switchAt < 0)
        return false;

    // From here on single bytes: no trail byte equals a blank or a double quote.
    std::size_t cursor = static_cast<std::size_t>(switchAt) + 2;
    while (cursor < value.size() && IsBlankChar(value[cursor]))
        ++cursor;
    if (cursor == value.size())
        return false;

    std::size_t begin = cursor;
    std::size_t end;
    if (value[cursor] == '"') {
        begin = cursor + 1;
        end = std::min(value.find('"', begin), value.size());
    } else {
        end = begin;
        while (end < value.size() && !IsBlankChar(value[end]))
            ++end;
    }
    token.assign(value.substr(begin, end - begin));
    return true;
}

std::string WithBackslashes(std::string_view path)
{
    std::string converted(path);
    std::replace(converted.begin(), converted.end(), '/', '\\');
    return converted;
}

std::size_t AbsoluteRootLength(std::string_view path, const LeadByteTable& lead)
{
    const bool driveLetter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (driveLetter && path[1] == ':' && path[2] == '\\')
        return 3;

    if (path.substr(0, 2) != "\\\\")
        return 0;
    const std::string_view afterPrefix = path.substr(2);
    const std::size_t serverLength = FindBackslash(afterPrefix, lead);
    if (serverLength == 0 || serverLength == std::string_view::npos)
        return 0;
    const std::string_view server = afterPrefix.substr(0, serverLength);
    if (server == "?" || server == ".")
        return 0;  // a device path, not a share
    const std::string_view afterServer = afterPrefix.substr(serverLength + 1);
    const std::size_t shareLength = FindBackslash(afterServer, lead);
    if (shareLength == 0 || afterServer.empty())
        return 0;
    if (shareLength == std::string_view::npos)
        return path.size();
    return 2 + serverLength + 1 + shareLength + 1;
}

bool IsAbsoluteFolder(std::string_view folder, const LeadByteTable& lead)
{
    return AbsoluteRootLength(WithBackslashes(folder), lead) > 0;
}
