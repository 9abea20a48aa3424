#pragma once

// Starts one child program with a hidden window, waits for it and judges it by its exit code.

#include <windows.h>

#include <string>

// Starts the program with the command line (either may be null, as for CreateProcessA) and waits up
// to timeout milliseconds (INFINITE: without limit). True when the child started, ended within the
// time-out and its exit code could be read and is 0. A child still running at the time-out is told
// to terminate with exit code -9999 and the result is false. The caller's command line is copied,
// never handed to CreateProcessA.
bool RunProcessAndWait(const char* applicationName, const char* commandLine, DWORD timeout);

// Has the system's rundll32.exe call DllUnregisterServer in the DLL (a full path), waiting without
// limit. False, without starting anything, when the system directory cannot be obtained.
bool UnregisterServerDll(const char* dllPath);

// The text between two double quotes, as it is: nothing is checked or escaped.
std::string QuotePath(const char* text);

// Overwrites folder with the Windows system directory; leaves it empty when that cannot be obtained.
void GetSystemFolder(std::string& folder);
