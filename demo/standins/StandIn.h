#pragma once

// What the two stand-in components share: reading their instructions from the environment (the
// uninstaller's children inherit it) and writing down how they were called, to a file outside the
// install folder, since the removal deletes the folder's files afterwards.

// The environment variable that names the call record file. Each call appends one line:
//   component TAB command line TAB window LF
// component is "Pellox.dll" or "Draveth.exe"; the command line is GetCommandLineA as the process
// sees it; window is "hidden" when the start-up information asks for a hidden window, else "shown".
#define STANDIN_RECORD_VARIABLE "MORVANE_STANDIN_LOG"

// Reads an environment variable holding a whole number (decimal, or hexadecimal after "0x"; may be
// negative). False when it is unset or holds no number.
bool ReadNumberVariable(const char* name, long long* value);

// Appends this process's line to the record file, when the record variable names one.
void WriteCallRecord(const char* component);

// Sleeps for the number of milliseconds in the named variable, if it is set.
void SleepAsTold(const char* variable);
