#pragma once

// Modal dialogs whose messages go to a C++ object: the object is attached to its window before the
// first message of the window reaches it, and every message is offered to the object's message
// map (ProcessWindowMessage); what the map does not handle gets the system's default processing.

#include "ui/Window.h"

class CMessageMap {
public:
    // True when the message was handled; result is then the handler's result. Only map id 0 is used.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId) = 0;

protected:
    ~CMessageMap() = default;
};

class CDialogImplBase : public CMessageMap, public CWindow {
public:
    CDialogImplBase() = default;
    CDialogImplBase(const CDialogImplBase&) = delete;
    CDialogImplBase& operator=(const CDialogImplBase&) = delete;
    virtual ~CDialogImplBase() = default;

    BOOL EndDialog(int result) { return ::EndDialog(m_hWnd, result); }

protected:
    // Runs the dialog template of the resource instance modally; the code given to EndDialog, or -1
    // when the dialog could not be created.
    INT_PTR DoModalTemplate(UINT templateId, HWND owner, LPARAM initParam);

private:
    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// A dialog made from template T::IDD.
template <class T>
class CDialogImpl : public CDialogImplBase {
public:
    INT_PTR DoModal(HWND owner = GetActiveWindow(), LPARAM initParam = 0)
    {
        return DoModalTemplate(T::IDD, owner, initParam);
    }
};

// A dialog that only shows its template: any of the commands IDOK to IDNO (1 to 7) ends it with
// that command's id. bCenter centres it over its owner when it opens.
template <UINT IDD, BOOL bCenter>
class CSimpleDialog : public CDialogImplBase {
public:
    INT_PTR DoModal(HWND owner = GetActiveWindow()) { return DoModalTemplate(IDD, owner, 0); }

    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result, DWORD mapId) override
    {
        if (mapId != 0)
            return FALSE;
        if (message == WM_INITDIALOG) {
            if (bCenter)
                CenterWindow();
            result = TRUE;
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) >= IDOK && LOWORD(wParam) <= IDNO) {
            EndDialog(LOWORD(wParam));
            result = 0;
            return TRUE;
        }
        return FALSE;
    }
};
