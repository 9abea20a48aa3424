#pragma once

// Registry items named by one backslash-separated path under an open root key, reached one key at
// a time. Both functions return the Windows error code of the call that decided the outcome.

#include <windows.h>

#include <string>

// Reads the value named by the path's last element into value: its bytes up to the first zero,
// at most 1024 bytes of data. Fails with ERROR_MORE_DATA when the data does not fit.
LONG RegQueryValueByPath(HKEY root, const char* path, std::string& value);

// Deletes the key named by the path's last element; a key with subkeys stays.
LONG RegDeleteKeyByPath(HKEY root, const char* path);
