#pragma once

// Whether a byte leads a double-byte character in the process's ANSI code page, which Windows
// fixes when the process starts (932 on a Japanese system, 1252 on a Western one).
bool IsAnsiLeadByte(unsigned char byte);
