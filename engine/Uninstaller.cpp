#include "engine/Uninstaller.h"

#include "engine/Text.h"

#include <cstdarg>

const char UninstallKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\USB Quarnel2";

CUninstaller::CUninstaller(const char* folder) : m_folder(folder) {}

void CUninstaller::AddLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_log.push_back(FormatTextList(format, args));
    va_end(args);
}

bool CUninstaller::GetLogLine(int index, std::string& line) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_log.size())
        return false;
    line = m_log[static_cast<std::size_t>(index)];
    return true;
}
