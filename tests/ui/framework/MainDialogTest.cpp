// The main dialog in this process: Wine answers WM_GETICON only within the dialog's own process.

#include "ModalDriver.h"
#include "UiDriver.h"

#include "tests/support/ProductInstall.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

namespace {

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

} // namespace

TEST(MainDialog, SetsTheProgramIconAtTheLargeAndSmallSizes)
{
    RemoveProductKey();
    CMainDlg dialog;
    HICON big = nullptr;
    HICON small = nullptr;
    SIZE bigSize = {};
    SIZE smallSize = {};
    const INT_PTR result = RunModalDriven([&] { return dialog.DoModal(nullptr, 0); },
                                          [&](DWORD uiThread) {
                                              const HWND window = WaitForThreadDialog(uiThread, "USB Quarnel Uninstaller");
                                              big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
                                              small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
                                              bigSize = IconSize(big);
                                              smallSize = IconSize(small);
                                              PostCommand(window, IDCANCEL);
                                          });
    EXPECT_EQ(IDCANCEL, result);
    ASSERT_NE(nullptr, big);
    ASSERT_NE(nullptr, small);
    EXPECT_NE(big, small);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), bigSize.cx);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), bigSize.cy);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), smallSize.cx);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMICON), smallSize.cy);
}
