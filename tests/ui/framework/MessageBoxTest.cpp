// The message box with texts given as strings or string-resource ids: every id is loaded whole,
// however long, and the box's result comes back.

#include "ModalDriver.h"
#include "UiDriver.h"

#include "ui/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SeenBox {
    bool found = false;
    std::string caption;
    std::string text;
};

// Shows the box on this thread; the driver reads it, then presses the button.
int ShowAndAnswer(const std::function<int()>& show, int button, SeenBox& seen)
{
    return static_cast<int>(RunModalDriven([&] { return show(); },
                                           [&](DWORD uiThread) {
                                               const HWND box = WaitForThreadDialog(uiThread, nullptr);
                                               seen.found = box != nullptr;
                                               seen.caption = WindowText(box);
                                               seen.text = ControlText(box, 0xFFFF);
                                               PostCommand(box, button);
                                           }));
}

std::string Repeat(const std::string& piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

} // namespace

TEST(ResourceMessageBox, LoadsStringResourcesWholeWhateverTheirLength)
{
    struct Case {
        UINT textId;
        std::string text;
    };
    const std::string ascii256 = Repeat("0123456789abcdef", 16);
    const Case cases[] = {
        {300, Repeat("ソ", 300)},        // 600 bytes: the first loads stop one byte short of full
        {301, ascii256},                // 256 bytes: the first load fills the buffer and is cut
        {302, ascii256.substr(0, 254)}, // as long as a cut double-byte text: loaded again, whole
        {399, ""},                      // no such string
    };
    for (const Case& c : cases) {
        SeenBox seen;
        const int result = ShowAndAnswer([&] { return AtlMessageBox(nullptr, c.textId, 303u, MB_OK); }, IDOK, seen);
        EXPECT_TRUE(seen.found) << c.textId;
        EXPECT_EQ(c.text, seen.text) << c.textId;
        EXPECT_EQ("見出しの文字列", seen.caption) << c.textId;
        EXPECT_EQ(IDOK, result) << c.textId;
    }
}

TEST(ResourceMessageBox, PassesStringsThroughAndGivesTheDefaultCaptionForZero)
{
    SeenBox plain;
    ShowAndAnswer([&] { return MessageBoxA(nullptr, "x", nullptr, MB_OK); }, IDOK, plain);

    SeenBox seen;
    const int result =
        ShowAndAnswer([&] { return AtlMessageBox(nullptr, "直接のテキスト\n二行目", 0u, MB_YESNO); }, IDNO, seen);
    EXPECT_EQ("直接のテキスト\n二行目", seen.text);
    EXPECT_EQ(plain.caption, seen.caption);
    EXPECT_EQ(IDNO, result);

    SeenBox named;
    ShowAndAnswer([&] { return AtlMessageBox(nullptr, 302u, "見出し", MB_OK); }, IDOK, named);
    EXPECT_EQ("見出し", named.caption);
    EXPECT_EQ(254u, named.text.size());
}
