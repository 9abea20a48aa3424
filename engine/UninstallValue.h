#pragma once

// Reading the product's UninstallString value and judging the folder taken from it.
// Pure code: no Windows header, so it also builds natively for fuzzing.

#include "engine/Text.h"

#include <string>
#include <string_view>

// True for a space (0x20) or a horizontal tab (0x09), nothing else.
bool IsBlankChar(char c);

// Takes the path token that follows the first "-f" (case-sensitive, found anywhere) of an
// UninstallString value: blanks after "-f" are skipped; a quoted token runs to the next double
// quote or the end, an unquoted one to the next blank or the end. False, with token unchanged,
// when there is no "-f" or nothing but blanks follows it.
bool ExtractPathToken(std::string_view value, std::string& token, const LeadByteTable& lead);

// True when the folder, as written and with "/" read as "\", is an absolute path: a drive letter,
// a colon and a backslash ("C:\", "C:\dir"), or a UNC path naming a server and a share
// ("\\server\share", "\\server\share\dir"). Empty, relative, drive-relative ("C:dir"),
// root-relative ("\dir") and device paths ("\\?\...", "\\.\...") are not.
bool IsAbsoluteFolder(std::string_view folder, const LeadByteTable& lead);

// The path with every "/" read as "\" (no ANSI code page has "/" as a trail byte).
std::string WithBackslashes(std::string_view path);

// Length of the path's absolute root, written with backslashes: 3 for a drive root ("C:\"); for a
// UNC path the server, the share and the backslash after the share if there is one
// ("\\server\share\"). 0 when the path has no such root (relative, drive-relative,
// root-relative, device paths).
std::size_t AbsoluteRootLength(std::string_view path, const LeadByteTable& lead);
