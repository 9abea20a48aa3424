// Stand-in for the product's configuration tool "Draveth.exe": a GUI-subsystem program that opens no
// window. The uninstaller starts it with "/Uninstall" as its whole command line (so the C runtime's
// argv[0] would be "/Uninstall"); it reads GetCommandLineA instead.
//
// Environment variables:
//   MORVANE_STANDIN_LOG    file to which the call is appended as one line (see StandIn.h)
//   MORVANE_DRAVETH_MS     milliseconds to run before exiting (default: exit at once)
//   MORVANE_DRAVETH_EXIT   exit code (decimal or 0x hexadecimal, may be negative); when unset, 0 if
//                          the command line is exactly "/Uninstall", else 1

#include "StandIn.h"

#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    WriteCallRecord("Draveth.exe");
    SleepAsTold("MORVANE_DRAVETH_MS");
    long long exitCode = std::strcmp(GetCommandLineA(), "/Uninstall") == 0 ? 0 : 1;
    ReadNumberVariable("MORVANE_DRAVETH_EXIT", &exitCode);
    return static_cast<int>(exitCode);
}
