// What Windows and the user take from the built Morvane.exe's resources, read as Windows reads them;
// and the message box's string loader, in this process with its own long string (LongString.rc).

#include "tests/program/Program.h"
#include "ui/MessageBox.h"

#include <thread>

namespace {

class Resources : public testing::Test {
protected:
    const std::string exe = BuildPath("Morvane.exe");
    const HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~Resources() override { FreeLibrary(module); }
};

TEST_F(Resources, ManifestActivatesAsAdministratorWithCommonControls6)
{
    ACTCTXA request = {};
    request.cbSize = sizeof(request), request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID, request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    const HANDLE context = CreateActCtxA(&request);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie)) << GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_REQUIRE_ADMIN);
    // Common controls 6 come from their side-by-side assembly folder.
    char path[MAX_PATH] = "";
    GetModuleFileNameA(LoadLibraryA("comctl32.dll"), path, MAX_PATH);
    EXPECT_NE(std::string(CharLowerA(path)).find("\\winsxs\\"), std::string::npos) << path;
    EXPECT_NE(std::string(path).find(".common-controls_6595b64144ccf1df_6.0."), std::string::npos) << path;
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

TEST_F(Resources, VersionRecordThroughTheVersionApi)
{
    std::string data(GetFileVersionInfoSizeA(exe.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, data.size(), &data[0]));
    void* value = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(&data[0], "\\", &value, &size));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x10000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 1u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x10000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 1u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    const char* strings[][2] = {{"FileDescription", "Morvane Module"}, {"FileVersion", "1, 0, 0, 1"},
                                {"InternalName", "Morvane"},           {"OriginalFilename", "Morvane.exe"},
                                {"ProductName", "Morvane Module"},     {"ProductVersion", "1, 0, 0, 1"}};
    for (const auto& [key, expected] : strings) {
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
        EXPECT_TRUE(VerQueryValueA(&data[0], path.c_str(), &value, &size)) << key;
        EXPECT_STREQ(static_cast<const char*>(value), expected) << key;
    }
}

TEST_F(Resources, StringAndIconAtBothSizes)
{
    char text[64] = "";
    EXPECT_EQ(std::string(text, LoadStringA(module, IDR_APP, text, sizeof text)), "Morvane");
    const HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDR_APP), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    for (int metric : {SM_CXICON, SM_CXSMICON}) {
        const int size = GetSystemMetrics(metric);
        const int id = LookupIconIdFromDirectoryEx(static_cast<BYTE*>(LoadResource(module, group)), TRUE, size, size, 0);
        const HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
        ASSERT_NE(image, nullptr) << size;
        // Made at the image's own size: there is an image of exactly this size, not a scaled one.
        const HICON icon = CreateIconFromResourceEx(static_cast<BYTE*>(LoadResource(module, image)),
                                                    SizeofResource(module, image), TRUE, 0x30000, 0, 0, 0);
        ICONINFO info = {};
        BITMAP bitmap = {};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
        GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor), DeleteObject(info.hbmMask), DestroyIcon(icon);
    }
}

INT_PTR CALLBACK Passive(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(Resources, BothDialogsCreateWithTheirTexts)
{
    const std::pair<int, std::string> dialogs[] = {
        {IDD_MAIN, "USB Quarnel Uninstaller: はい|いいえ|&About...||アンインストール時のログ：||"},
        {IDD_ABOUT, "About: OK|Morvane Application v1.0\n\nCopyright (C) 2026|icon||"}};
    for (const auto& [id, expected] : dialogs) {
        const HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, Passive, 0);
        ASSERT_NE(dialog, nullptr) << id;
        std::string seen = WindowText(dialog) + ": ";
        for (const ChildWindow& child : ChildWindows(dialog))
            seen += (child.style & SS_TYPEMASK) == SS_ICON && child.className == "Static" ? "icon|" : WindowText(child.window) + "|";
        EXPECT_EQ(seen, expected);
        DestroyWindow(dialog);
    }
}

TEST(MessageBoxStrings, LoadsALongDoubleByteStringWhole)
{
    std::thread box([] { AtlMessageBox(nullptr, 300u, "Long", MB_OK); });
    const HWND shown = WaitForProcessDialog(GetCurrentProcessId(), "Long", 5000);
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "ソ";
    EXPECT_EQ(shown ? ControlText(shown, 0xFFFF) : "no box within 5 s", expected);
    PostCommand(shown, IDOK);
    box.join();
}

} // namespace
