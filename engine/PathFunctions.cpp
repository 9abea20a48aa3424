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
