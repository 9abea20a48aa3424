#include "ui/Dialog.h"

#include "ui/AppModule.h"

// The object whose dialog is being created: the window does not exist before DialogBoxParamA, and
// its first message (WM_SETFONT) comes before WM_INITDIALOG and its parameter. Dialogs are created
// on the program's one thread only.
static CDialogImplBase* s_creatingDialog = nullptr;

INT_PTR CDialogImplBase::DoModalTemplate(UINT templateId, HWND owner, LPARAM initParam)
{
    s_creatingDialog = this;
    const INT_PTR result = DialogBoxParamA(_Module.GetResourceInstance(), MAKEINTRESOURCEA(templateId), owner,
                                           StartDialogProc, initParam);
    s_creatingDialog = nullptr;  // still set when the template could not be loaded
    m_hWnd = nullptr;
    return result;
}

INT_PTR CALLBACK CDialogImplBase::StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialogImplBase* dialog = s_creatingDialog;
    s_creatingDialog = nullptr;
    dialog->m_hWnd = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(DialogProc));
    return DialogProc(window, message, wParam, lParam);
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<CDialogImplBase*>(GetWindowLongPtrA(window, DWLP_USER));
    LRESULT result = 0;
    if (!dialog->ProcessWindowMessage(window, message, wParam, lParam, result, 0))
        return FALSE;
    switch (message) {
    // These answer through the dialog procedure's own result instead of DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
}
