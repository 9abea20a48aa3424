#include "engine/RegistryPath.h"

#include "engine/Text.h"
#include "platform/Handles.h"

#include <functional>
#include <string_view>

namespace {

const REGSAM kReadWalkAccess = KEY_READ;  // 0x20019
const REGSAM kDeleteWalkAccess = DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE;  // 0x10009
const DWORD kValueBufferSize = 1024;

using LastElementStep = std::function<LONG(HKEY parent, const char* name)>;

// Opens the path's first element under key and walks on from there; each level holds its key until
// the deeper levels return, so keys close deepest first. The last element goes to lastStep.
LONG WalkPath(HKEY key, const char* path, REGSAM access, const LastElementStep& lastStep)
{
    const std::size_t separator = FindBackslash(path, AnsiLeadBytes());
    if (separator == std::string_view::npos)
        return lastStep(key, path);

    const std::string element(path, separator);
    CRegKey subKey;
    HKEY* place = subKey.Receive();
    const LONG opened = CurrentPlatform().RegOpenKeyExA(key, element.c_str(), 0, access, place);
    if (opened != ERROR_SUCCESS) {
        // A failed open leaves the place undefined: nothing here is ours to close.
        *place = nullptr;
        return opened;
    }
    return WalkPath(subKey.Get(), path + separator + 1, access, lastStep);
}

} // namespace

LONG RegQueryValueByPath(HKEY root, const char* path, std::string& value)
{
    return WalkPath(root, path, kReadWalkAccess, [&value](HKEY parent, const char* name) {
        // A zeroed buffer: the text ends at the first zero of the data read, or at the buffer's end.
        value.clear();
        char* buffer = GetBuffer(value, kValueBufferSize);
        DWORD type = 0;
        DWORD size = kValueBufferSize;
        const LONG result = CurrentPlatform().RegQueryValueExA(parent, name, nullptr, &type,
                                                               reinterpret_cast<BYTE*>(buffer), &size);
        ReleaseBuffer(value);
        return result;
    });
}

LONG RegDeleteKeyByPath(HKEY root, const char* path)
{
    return WalkPath(root, path, kDeleteWalkAccess, [](HKEY parent, const char* name) {
        return CurrentPlatform().RegDeleteKeyExA(parent, name, 0, 0);
    });
}
