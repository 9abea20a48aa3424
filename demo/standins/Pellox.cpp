// Stand-in for the product's InfoTip shell extension "Pellox.dll": a DLL whose only export,
// DllUnregisterServer, has the form rundll32.exe calls, so that
//   rundll32.exe "<folder>\Pellox.dll",DllUnregisterServer
// reaches it. Wine's rundll32 exits 0 whenever the export returns (and also when the DLL or the
// export is missing), so the only way to make the run fail is to end the process from inside.
//
// Environment variables:
//   MORVANE_STANDIN_LOG   file to which the call is appended as one line (see StandIn.h)
//   MORVANE_PELLOX_MS     milliseconds to run before returning (default: return at once)
//   MORVANE_PELLOX_EXIT   when set, ends rundll32 with ExitProcess(this code) instead of returning
//                         (decimal or 0x hexadecimal, may be negative)

#include "StandIn.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" void CALLBACK DllUnregisterServer(HWND, HINSTANCE, char*, int)
{
    WriteCallRecord("Pellox.dll");
    SleepAsTold("MORVANE_PELLOX_MS");
    long long exitCode = 0;
    if (ReadNumberVariable("MORVANE_PELLOX_EXIT", &exitCode))
        ExitProcess(static_cast<UINT>(exitCode));
}
