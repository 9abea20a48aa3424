// Program entry: prepares COM, the common controls and the module, runs the main dialog modally and
// returns its end code as the process exit code.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "res/resource.h"

static INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    DefWindowProcA(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls = {8, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const int result = static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), GetActiveWindow(), PlainDialogProc, 0));
    CoUninitialize();
    return result;
}
