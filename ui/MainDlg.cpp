#include "ui/MainDlg.h"

#include "engine/InstallFolder.h"
#include "engine/Uninstaller.h"
#include "ui/AboutDlg.h"
#include "ui/AppModule.h"
#include "ui/LogView.h"
#include "ui/MessageBox.h"
#include "ui/UiTexts.h"

BOOL CMainDlg::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    if (message == WM_INITDIALOG) {
        result = OnInitDialog();
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case ID_APP_ABOUT:
        result = OnAppAbout();
        return TRUE;
    case IDOK:
        result = OnOK();
        return TRUE;
    case IDCANCEL:
        result = OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

// Icon IDR_APP at the system's size for the given kind of title-bar icon. The handle lives as long
// as the process.
static HICON LoadAppIcon(int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageA(_Module.GetResourceInstance(), MAKEINTRESOURCEA(IDR_APP), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_DEFAULTCOLOR));
}

LRESULT CMainDlg::OnInitDialog()
{
    CenterWindow();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadAppIcon(SM_CXICON, SM_CYICON)));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadAppIcon(SM_CXSMICON, SM_CYSMICON)));

    if (LocateInstallFolder(m_installFolder)) {
        SetDlgItemTextA(m_hWnd, IDC_PROMPT, kTextQuestion);
    } else {
        SetDlgItemTextA(m_hWnd, IDC_PROMPT, kTextNotInstalled);
        SetDlgItemTextA(m_hWnd, IDCANCEL, kTextClose);
        // Disabled as well as hidden: the dialog manager still sends IDOK for the Enter key.
        const HWND confirm = GetDlgItem(m_hWnd, IDOK);
        ShowWindow(confirm, SW_HIDE);
        EnableWindow(confirm, FALSE);
    }
    return TRUE;
}

LRESULT CMainDlg::OnOK()
{
    // Without a located folder the removal steps would work on the current directory.
    if (m_installFolder.empty())
        return 0;

    CUninstaller uninstaller(m_installFolder.c_str());
    const bool removed = uninstaller.Execute();
    AtlMessageBox(m_hWnd, removed ? kTextRemoved : kTextNotRemoved, IDR_APP, MB_OK);
    if (removed)
        EndDialog(IDOK);
    else
        ShowLogView(uninstaller);
    return 0;
}

void CMainDlg::ShowLogView(const CUninstaller& uninstaller)
{
    ShowWindow(GetDlgItem(m_hWnd, IDC_LOG_LABEL), SW_SHOWNA);
    ShowWindow(GetDlgItem(m_hWnd, IDOK), SW_HIDE);
    ShowWindow(GetDlgItem(m_hWnd, IDC_PROMPT), SW_HIDE);
    SetDlgItemTextA(m_hWnd, IDCANCEL, kTextClose);
    const HWND log = GetDlgItem(m_hWnd, IDC_LOG);
    FillLogView(log, uninstaller);
    ShowWindow(log, SW_SHOWNA);
}

LRESULT CMainDlg::OnCancel()
{
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CMainDlg::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal(GetActiveWindow());
    return 0;
}
