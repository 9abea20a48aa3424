#include "ui/MessageBox.h"

#include "ui/AppModule.h"

#include <memory>
#include <new>

// Loads string resource id whole: LoadStringA cuts a string to the buffer, so the buffer doubles
// while the string may have been cut. A double-byte character that does not fit is left out whole,
// so a cut string can end one byte short of the last usable byte. False when a buffer cannot be
// allocated.
static bool LoadResourceText(UINT id, std::unique_ptr<char[]>& text)
{
    int size = 256;
    for (;;) {
        text.reset(new (std::nothrow) char[size]);
        if (!text)
            return false;
        const int length = LoadStringA(_Module.GetResourceInstance(), id, text.get(), size);
        if (length < size - 2)
            return true;
        size *= 2;
    }
}

// The text to pass on: the string itself, a null for id 0, or the loaded resource.
static bool ResolveText(CStringOrId value, std::unique_ptr<char[]>& loaded, const char*& text)
{
    text = value.m_text;
    if (!IS_INTRESOURCE(value.m_text) || value.m_text == nullptr)
        return true;
    if (!LoadResourceText(LOWORD(reinterpret_cast<ULONG_PTR>(value.m_text)), loaded))
        return false;
    text = loaded.get();
    return true;
}

int AtlMessageBox(HWND owner, CStringOrId text, CStringOrId caption, UINT type)
{
    std::unique_ptr<char[]> loadedText;
    std::unique_ptr<char[]> loadedCaption;
    const char* textArgument;
    const char* captionArgument;
    if (!ResolveText(text, loadedText, textArgument) || !ResolveText(caption, loadedCaption, captionArgument))
        return 0;
    return MessageBoxA(owner, textArgument, captionArgument, type);
}
