#pragma once

#include <string_view>

// Whether a byte leads a double-byte character in the process's ANSI code page, which Windows
// fixes when the process starts (932 on a Japanese system, 1252 on a Western one).
bool IsAnsiLeadByte(unsigned char byte);

// The UTF-16 character that one character of the ANSI code page (one or two bytes) stands for, or 0
// when the bytes are not exactly one character.
wchar_t ToWideCharacter(std::string_view character);
