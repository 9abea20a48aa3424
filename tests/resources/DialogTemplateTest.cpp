// The two dialog templates, read field by field from the built program, and created by the system.

#include "tests/resources/ProgramResources.h"

#include "res/resource.h"

namespace {

using DialogTemplates = ProgramTest;

struct ExpectedControl {
    DWORD id;
    const wchar_t* windowClass;
    NameOrOrdinal text;
    DWORD style;
    short x, y, cx, cy;
};

const DWORD kNoId = 0xFFFFFFFF; // id -1 of the controls that are never addressed

const std::vector<ExpectedControl> kMainControls = {
    {IDOK, L"BUTTON", Name(L"はい"), 0x50010001, 73, 68, 50, 14},
    {IDCANCEL, L"BUTTON", Name(L"いいえ"), 0x50010000, 134, 68, 50, 14},
    {ID_APP_ABOUT, L"BUTTON", Name(L"&About..."), 0x50010000, 211, 83, 40, 14},
    {IDC_PROMPT, L"EDIT", Name(L""), 0x50010800, 16, 18, 226, 47},
    {IDC_LOG_LABEL, L"STATIC", Name(L"アンインストール時のログ\xFF1A"), 0x40020000, 7, 7, 80, 8},
    {IDC_LOG, L"EDIT", Name(L""), 0x40A10884, 16, 18, 226, 47},
};

const std::vector<ExpectedControl> kAboutControls = {
    {IDOK, L"BUTTON", Name(L"OK"), 0x50010001, 130, 81, 50, 14},
    {kNoId, L"STATIC", Name(L"Morvane Application v1.0\n\nCopyright (C) 2026"), 0x50020001, 25, 57, 78, 32},
    {kNoId, L"STATIC", Ordinal(IDR_APP), 0x50000003, 55, 26, 20, 20},
    {kNoId, L"BUTTON", Name(L""), 0x50000007, 7, 7, 115, 88},
};

struct ExpectedDialog {
    WORD id;
    DWORD style;
    short cx, cy;
    const wchar_t* title;
    const std::vector<ExpectedControl>& controls;
};

const ExpectedDialog kDialogs[] = {
    {IDD_MAIN, 0x00CA0048, 258, 104, L"USB Quarnel Uninstaller", kMainControls},
    {IDD_ABOUT, 0x80C800C8, 187, 102, L"About", kAboutControls},
};

TEST_F(DialogTemplates, HeadersAreExtendedTemplatesWithTheShellFont)
{
    for (const ExpectedDialog& expected : kDialogs) {
        SCOPED_TRACE(testing::Message() << "dialog " << expected.id);
        DialogTemplate dialog = ReadDialogTemplate(ResourceBytes(RT_DIALOG, expected.id, kJapanese));
        EXPECT_FALSE(dialog.overrun);
        EXPECT_EQ(1, dialog.version);
        EXPECT_EQ(0xFFFF, dialog.signature);
        EXPECT_EQ(0u, dialog.helpId);
        EXPECT_EQ(0u, dialog.exStyle);
        EXPECT_EQ(expected.style, dialog.style);
        EXPECT_EQ(expected.controls.size(), dialog.itemCount);
        EXPECT_EQ(0, dialog.x);
        EXPECT_EQ(0, dialog.y);
        EXPECT_EQ(expected.cx, dialog.cx);
        EXPECT_EQ(expected.cy, dialog.cy);
        EXPECT_EQ(Ordinal(0), dialog.menu);
        EXPECT_EQ(Ordinal(0), dialog.windowClass);
        EXPECT_EQ(expected.title, dialog.title);
        EXPECT_EQ(8, dialog.pointSize);
        EXPECT_EQ(400, dialog.weight);
        EXPECT_EQ(0, dialog.italic);
        EXPECT_EQ(DEFAULT_CHARSET, dialog.charset);
        EXPECT_EQ(L"MS Shell Dlg", dialog.typeface);
    }
}

TEST_F(DialogTemplates, ControlsAreThoseOfTheTablesInTabOrder)
{
    for (const ExpectedDialog& expected : kDialogs) {
        DialogTemplate dialog = ReadDialogTemplate(ResourceBytes(RT_DIALOG, expected.id, kJapanese));
        ASSERT_EQ(expected.controls.size(), dialog.items.size()) << "dialog " << expected.id;
        for (size_t i = 0; i < dialog.items.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "dialog " << expected.id << ", control " << i);
            const DialogItem& item = dialog.items[i];
            const ExpectedControl& control = expected.controls[i];
            EXPECT_EQ(control.id, item.id);
            EXPECT_EQ(Name(control.windowClass), item.windowClass);
            EXPECT_EQ(control.text, item.text);
            EXPECT_EQ(control.style, item.style);
            EXPECT_EQ(0u, item.exStyle);
            EXPECT_EQ(0u, item.helpId);
            EXPECT_EQ(control.x, item.x);
            EXPECT_EQ(control.y, item.y);
            EXPECT_EQ(control.cx, item.cx);
            EXPECT_EQ(control.cy, item.cy);
            EXPECT_EQ(0, item.creationDataSize);
        }
    }
}

// A modeless dialog made from one of the program's templates, destroyed with its owner object.
class CTemplateDialog {
public:
    explicit CTemplateDialog(WORD id)
        : m_window(CreateDialogParamA(Program(), MAKEINTRESOURCEA(id), nullptr, NoHandling, 0))
    {
    }
    ~CTemplateDialog()
    {
        if (m_window)
            DestroyWindow(m_window);
    }
    CTemplateDialog(const CTemplateDialog&) = delete;
    CTemplateDialog& operator=(const CTemplateDialog&) = delete;

    HWND Get() const { return m_window; }

private:
    static INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    HWND m_window;
};

std::string ItemText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

TEST_F(DialogTemplates, MainDialogTextsReadBackAsTheProgramsCodePage932Bytes)
{
    CTemplateDialog dialog(IDD_MAIN);
    ASSERT_NE(nullptr, dialog.Get()) << GetLastError();
    // The templates hold UTF-16; through the ANSI calls under code page 932 they must give the
    // same bytes as the program's own texts.
    EXPECT_EQ("はい", ItemText(dialog.Get(), IDOK));
    EXPECT_EQ("いいえ", ItemText(dialog.Get(), IDCANCEL));
    EXPECT_EQ("アンインストール時のログ：", ItemText(dialog.Get(), IDC_LOG_LABEL));
}

TEST_F(DialogTemplates, AboutBoxIconControlShowsIcon128)
{
    CTemplateDialog dialog(IDD_ABOUT);
    ASSERT_NE(nullptr, dialog.Get()) << GetLastError();
    HWND icon = nullptr;
    for (HWND child = GetWindow(dialog.Get(), GW_CHILD); child && !icon; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = child;
    }
    ASSERT_NE(nullptr, icon);
    EXPECT_NE(0, SendMessageA(icon, STM_GETICON, 0, 0));
}

} // namespace
