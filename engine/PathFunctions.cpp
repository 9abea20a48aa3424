#include "engine/PathFunctions.h"

#include "engine/Text.h"
#include "platform/Platform.h"

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
    // Not the shell's PathAppendA: it canonicalizes what it joins and takes "\..x" for a step up, so
    // that a file named "..x" would lead out of the folder that was judged.
    const bool separator = !EndsWithBackslash(path, AnsiLeadBytes());
    if (path.empty() || path.size() + separator + std::strlen(element) >= MAX_PATH)
        return false;
    if (separator)
        path += '\\';
    path += element;
    return true;
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
