// Filling the log box of the real main-dialog template with a removal's lines.

#include "engine/Uninstaller.h"
#include "res/resource.h"
#include "ui/AppModule.h"
#include "ui/LogView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// Template IDD_MAIN, created hidden, as the log view fills it.
class MainTemplate : public testing::Test {
protected:
    void SetUp() override
    {
        m_dialog = CreateDialogParamA(_Module.GetResourceInstance(), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                      PassiveDialogProc, 0);
        ASSERT_NE(nullptr, m_dialog);
        m_log = GetDlgItem(m_dialog, IDC_LOG);
    }
    void TearDown() override { DestroyWindow(m_dialog); }

    std::string LogText() const
    {
        std::string text(GetWindowTextLengthA(m_log) + 1, '\0');
        text.resize(GetWindowTextA(m_log, &text[0], static_cast<int>(text.size())));
        return text;
    }

    HWND m_dialog = nullptr;
    HWND m_log = nullptr;
};

} // namespace

TEST_F(MainTemplate, ShowsEveryLineOfALogBeyondTheEditControlsDefaultLimit)
{
    CUninstaller uninstaller("C:\\Quarnel");
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "ソフト設定" + std::to_string(i) + ".ini";
        uninstaller.AddLog("ファイル'%s'は削除されました。", name.c_str());
        expected += "ファイル'" + name + "'は削除されました。\r\n";
    }
    ASSERT_GT(expected.size(), 60000u);

    FillLogView(m_log, uninstaller);
    EXPECT_EQ(expected, LogText());
    EXPECT_EQ(2001, SendMessageA(m_log, EM_GETLINECOUNT, 0, 0));
}

TEST_F(MainTemplate, ReplacesWhatTheBoxHeldAndLeavesItEmptyForAnEmptyLog)
{
    CUninstaller first("C:\\Quarnel");
    first.AddLog("一行目");
    first.AddLog("二行目");
    FillLogView(m_log, first);
    ASSERT_EQ("一行目\r\n二行目\r\n", LogText());

    CUninstaller second("C:\\Quarnel");
    second.AddLog("%s", "次の実行");
    FillLogView(m_log, second);
    EXPECT_EQ("次の実行\r\n", LogText());

    const CUninstaller empty("C:\\Quarnel");
    FillLogView(m_log, empty);
    EXPECT_EQ("", LogText());
}

TEST_F(MainTemplate, KeepsALineWiderThanTheBoxOnOneLine)
{
    CUninstaller uninstaller("C:\\Quarnel");
    const std::string wide(1500, 'W');
    uninstaller.AddLog("%s", wide.c_str());
    uninstaller.AddLog("short");
    FillLogView(m_log, uninstaller);
    EXPECT_EQ(3, SendMessageA(m_log, EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(1500, SendMessageA(m_log, EM_LINELENGTH, 0, 0));
}
