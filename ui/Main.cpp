// Program entry: prepares COM, the common controls and the module, runs the main dialog modally and
// returns its end code as the process exit code. Arguments are not read.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/AppModule.h"
#include "ui/MainDlg.h"

static int RunMainDialog()
{
    CMainDlg dialog;
    return static_cast<int>(dialog.DoModal(GetActiveWindow(), 0));
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    DefWindowProcA(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls = {8, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    _Module.Init(nullptr, instance);

    const int result = RunMainDialog();

    _Module.Term();
    CoUninitialize();
    return result;
}
