#include "ui/LogView.h"

#include "engine/Uninstaller.h"

#include <string>

void FillLogView(HWND edit, const CUninstaller& uninstaller)
{
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);

    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));

    std::string line;
    for (int index = 0; uninstaller.GetLogLine(index, line); ++index) {
        line += "\r\n";
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    }
}
