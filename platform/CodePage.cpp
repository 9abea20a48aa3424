#include "platform/CodePage.h"

#include <windows.h>

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

wchar_t ToWideCharacter(std::string_view character)
{
    wchar_t wide[2];
    const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, character.data(),
                                             static_cast<int>(character.size()), wide, 2);
    return length == 1 ? wide[0] : 0;
}
