#include "tests/engine/removal/RemovalTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

std::vector<std::string> LogOf(const CUninstaller& uninstaller)
{
    std::vector<std::string> lines;
    std::string line;
    while (uninstaller.GetLogLine(static_cast<int>(lines.size()), line))
        lines.push_back(line);
    return lines;
}

std::string DeletedLine(const std::string& name)
{
    return "ファイル'" + name + "'は削除されました。";
}

std::string NotDeletedLine(const std::string& name)
{
    return "ファイル'" + name + "'は削除きでませんでした。";
}

std::string SkippedLine(const std::string& name)
{
    return "ファイル'" + name + "'の削除はスキップされました。";
}

const char kEntryDeletedLine[] = "アンインストール情報レジストリエントリは削除されました。";
const char kEntryNotDeletedLine[] = "アンインストール情報レジストリエントリは削除できませんでした。";

std::vector<std::string> Sorted(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : m_name(name)
{
    char previous[1024];
    const DWORD length = GetEnvironmentVariableA(name, previous, sizeof previous);
    m_wasSet = length > 0 && length < sizeof previous;
    if (m_wasSet)
        m_previous = previous;
    SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableA(m_name.c_str(), m_wasSet ? m_previous.c_str() : nullptr);
}
