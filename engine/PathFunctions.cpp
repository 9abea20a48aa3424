#include "engine/Uninstaller.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cstring>

bool RemoveFileSpec(std::string& path)
{
    // One byte more than the text, so the shell function always sees its terminating zero.
    char* buffer = GetBuffer(path, path.size() + 1);
    const BOOL removed = CurrentPlatform().PathRemoveFileSpecA(buffer);
    ReleaseBuffer(path);
    return removed != FALSE;
}

bool AppendPath(std::string& path, const char* element)
{
    // Room for both texts, the backslash between them and the terminating zero; and never less than
    // MAX_PATH, the buffer size the shell function is documented to assume.
    char* buffer = GetBuffer(path, std::max<std::size_t>(path.size() + std::strlen(element) + 10, MAX_PATH));
    const BOOL appended = CurrentPlatform().PathAppendA(buffer, element);
    ReleaseBuffer(path);
    return appended != FALSE;
}

bool GetMeasuredText(const std::function<DWORD(char* buffer, DWORD size)>& call, std::string& text)
{
    const DWORD needed = call(nullptr, 0);
    if (needed == 0)
        return false;
    // One byte more than asked for, for a size reported without the zero.
    char* buffer = GetBuffer(text, needed + 1);
    const DWORD written = call(buffer, needed + 1);
    ReleaseBuffer(text);
    return written != 0 && written <= needed;
}
