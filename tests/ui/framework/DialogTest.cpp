// The modal run, the dialog procedure and the About box, in this process.

#include "ModalDriver.h"
#include "UiDriver.h"

#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "ui/Dialog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records what reached its message map, and ends itself while initialising.
class CProbeDlg : public CDialogImpl<CProbeDlg> {
public:
    enum { IDD = IDD_ABOUT };

    UINT firstMessage = 0;
    bool attachedAtFirstMessage = false;
    LPARAM initParam = 0;
    LRESULT handledAnswer = 0;
    LRESULT defaultAnswer = 0;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT& result, DWORD mapId) override
    {
        if (mapId != 0)
            return FALSE;
        if (firstMessage == 0) {
            firstMessage = message;
            attachedAtFirstMessage = m_hWnd == window;
        }
        if (message == WM_APP) {
            result = 77;
            return TRUE;
        }
        if (message == WM_INITDIALOG) {
            initParam = lParam;
            handledAnswer = SendMessageA(window, WM_APP, 0, 0);
            defaultAnswer = SendMessageA(window, DM_GETDEFID, 0, 0);
            EndDialog(42);
            result = TRUE;
            return TRUE;
        }
        return FALSE;
    }
};

class CMissingDlg : public CDialogImpl<CMissingDlg> {
public:
    enum { IDD = 4242 };
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

// A visible top-level window standing in for the main dialog.
class OwnerWindow {
public:
    explicit OwnerWindow(const RECT& rect)
        : m_window(CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~OwnerWindow() { DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

} // namespace

TEST(ModalRun, AttachesTheObjectBeforeTheFirstMessageAndReturnsTheEndCode)
{
    CProbeDlg probe;
    EXPECT_EQ(42, probe.DoModal(nullptr, 0x1234));
    // The template has DS_SETFONT: WM_SETFONT comes before WM_INITDIALOG.
    EXPECT_EQ(static_cast<UINT>(WM_SETFONT), probe.firstMessage);
    EXPECT_TRUE(probe.attachedAtFirstMessage);
    EXPECT_EQ(0x1234, probe.initParam);
    EXPECT_EQ(77, probe.handledAnswer);  // a handled message answers with the handler's result
    EXPECT_EQ(MAKELRESULT(IDOK, DC_HASDEFID), probe.defaultAnswer);  // an unhandled one gets the default
    EXPECT_EQ(nullptr, probe.m_hWnd);
}

TEST(ModalRun, ReturnsMinusOneWhenTheTemplateCannotBeLoadedAndRunsTheNextDialogNormally)
{
    CMissingDlg missing;
    EXPECT_EQ(-1, missing.DoModal(nullptr));
    CSimpleDialog<4242, FALSE> missingSimple;
    EXPECT_EQ(-1, missingSimple.DoModal(nullptr));

    CProbeDlg probe;
    EXPECT_EQ(42, probe.DoModal(nullptr));
    EXPECT_TRUE(probe.attachedAtFirstMessage);
}

TEST(AboutBox, EndsWithTheIdOfEachCloseCommandWhateverTheNotificationCode)
{
    struct Case {
        WPARAM command;
        INT_PTR endCode;
    };
    const Case cases[] = {
        {MAKEWPARAM(IDOK, BN_CLICKED), 1},   {MAKEWPARAM(IDCANCEL, BN_CLICKED), 2},
        {MAKEWPARAM(IDABORT, 0), 3},         {MAKEWPARAM(IDRETRY, 1), 4},
        {MAKEWPARAM(IDIGNORE, BN_SETFOCUS), 5}, {MAKEWPARAM(IDYES, 0), 6},
        {MAKEWPARAM(IDNO, 0xFFFF), 7},
    };
    for (const Case& c : cases) {
        CAboutDlg about;
        bool found = false;
        const INT_PTR result = RunModalDriven([&] { return about.DoModal(nullptr); },
                                              [&](DWORD uiThread) {
                                                  const HWND box = WaitForThreadDialog(uiThread, "About");
                                                  found = box != nullptr;
                                                  PostMessageA(box, WM_COMMAND, c.command, 0);
                                              });
        EXPECT_TRUE(found);
        EXPECT_EQ(c.endCode, result) << "command id " << LOWORD(c.command);
    }
}

TEST(AboutBox, IgnoresOtherCommandsAndClosesWithTwoOnEscape)
{
    CAboutDlg about;
    bool stayedOpen = false;
    const INT_PTR result = RunModalDriven([&] { return about.DoModal(nullptr); },
                                          [&](DWORD uiThread) {
                                              const HWND box = WaitForThreadDialog(uiThread, "About");
                                              PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCLOSE, 0), 0);  // 8
                                              PostMessageA(box, WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0);
                                              Sleep(300);
                                              stayedOpen = IsWindowVisible(box) != FALSE;
                                              PostKey(box, VK_ESCAPE);
                                          });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(IDCANCEL, result);
}

TEST(AboutBox, OpensModallyAtTheTemplatePositionOverItsOwnerWithIconAndText)
{
    // The template's position (0, 0) is taken relative to the owner's client area: wherever the
    // owner stands, the box's client area starts where the owner's does, centred or not.
    const RECT owners[] = {{300, 200, 900, 600}, {40, 500, 500, 900}};
    for (const RECT& ownerRect : owners) {
        OwnerWindow owner(ownerRect);
        RECT ownerBefore;
        GetWindowRect(owner.Get(), &ownerBefore);
        CAboutDlg about;
        POINT boxOrigin = {};
        bool ownerDisabled = false;
        HWND boxOwner = nullptr;
        HICON icon = nullptr;
        SIZE iconSize = {};
        std::string text;
        const INT_PTR result = RunModalDriven(
            [&] { return about.DoModal(owner.Get()); },
            [&](DWORD uiThread) {
                const HWND box = WaitForThreadDialog(uiThread, "About");
                boxOrigin = ClientOrigin(box);
                ownerDisabled = !IsWindowEnabled(owner.Get());
                boxOwner = GetWindow(box, GW_OWNER);
                for (const ChildWindow& child : ChildWindows(box)) {
                    if (child.className == "Static" && (child.style & SS_TYPEMASK) == SS_ICON) {
                        icon = reinterpret_cast<HICON>(SendMessageA(child.window, STM_GETICON, 0, 0));
                        RECT rect;
                        GetClientRect(child.window, &rect);
                        iconSize = {rect.right, rect.bottom};
                    } else if (child.className == "Static") {
                        text = WindowText(child.window);
                    }
                }
                PostCommand(box, IDOK);
            });
        EXPECT_EQ(IDOK, result);
        const POINT ownerOrigin = ClientOrigin(owner.Get());
        EXPECT_EQ(ownerOrigin.x, boxOrigin.x);
        EXPECT_EQ(ownerOrigin.y, boxOrigin.y);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_EQ(owner.Get(), boxOwner);
        EXPECT_NE(nullptr, icon);
        EXPECT_EQ(GetSystemMetrics(SM_CXICON), iconSize.cx);
        EXPECT_EQ(GetSystemMetrics(SM_CYICON), iconSize.cy);
        EXPECT_EQ("Morvane Application v1.0", text.substr(0, text.find('\n')));
        EXPECT_TRUE(IsWindowEnabled(owner.Get()));
        RECT ownerAfter;
        GetWindowRect(owner.Get(), &ownerAfter);
        EXPECT_TRUE(EqualRect(&ownerBefore, &ownerAfter));
    }
}
