#pragma once

// The main dialog: offers the removal (or says the product is not installed), runs it on
// confirmation, reports the result and closes, or shows the log when the removal failed.

#include "res/resource.h"
#include "ui/Dialog.h"

#include <string>

class CUninstaller;

class CMainDlg : public CDialogImpl<CMainDlg> {
public:
    enum { IDD = IDD_MAIN };

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

private:
    LRESULT OnInitDialog();
    LRESULT OnOK();
    LRESULT OnCancel();
    LRESULT OnAppAbout();
    void ShowLogView(const CUninstaller& uninstaller);

    // Empty until LocateInstallFolder found the product; a located folder is never empty.
    std::string m_installFolder;
};
