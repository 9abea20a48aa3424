#include "tests/engine/runner/ComponentFolder.h"

#include "tests/standins/StandIn.h"
#include "tests/standins/StandInCalls.h"
#include "tests/support/ProductInstall.h"

namespace {

const char* const kStandInVariables[] = {STANDIN_RECORD_VARIABLE, "MORVANE_PELLOX_MS", "MORVANE_PELLOX_EXIT",
                                         "MORVANE_DRAVETH_MS", "MORVANE_DRAVETH_EXIT"};

// A child that was terminated may hold its program file for a moment after its end was reported.
void DeleteWithPatience(const std::string& path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::DeleteFileA(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        ::Sleep(50);
    }
    ADD_FAILURE() << "cannot delete " << path;
}

} // namespace

void ComponentFolderTest::SetUp()
{
    static int serial = 0;
    char temp[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
    m_root = std::string(temp) + "Morvane runner " + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++serial);
    m_installFolder = m_root + "\\Program Files\\ソフト Quarnel";
    m_recordPath = m_root + "\\calls.txt";
    ASSERT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((m_root + "\\Program Files").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(m_installFolder.c_str(), nullptr));
    Tell(STANDIN_RECORD_VARIABLE, m_recordPath.c_str());
}

void ComponentFolderTest::TearDown()
{
    for (const char* variable : kStandInVariables)
        ::SetEnvironmentVariableA(variable, nullptr);
    DeleteWithPatience(ComponentPath("Pellox.dll"));
    DeleteWithPatience(ComponentPath("Draveth.exe"));
    DeleteWithPatience(m_recordPath);
    ::RemoveDirectoryA(m_installFolder.c_str());
    ::RemoveDirectoryA((m_root + "\\Program Files").c_str());
    EXPECT_TRUE(::RemoveDirectoryA(m_root.c_str())) << m_root;
}

void ComponentFolderTest::Install(const char* component)
{
    CopyStandIn(component, m_installFolder);
}

void ComponentFolderTest::Tell(const char* variable, const char* value)
{
    ASSERT_TRUE(::SetEnvironmentVariableA(variable, value));
}

DWORD ExitCodeOf(HANDLE process)
{
    ::WaitForSingleObject(process, 10000);
    DWORD exitCode = 0;
    EXPECT_TRUE(::GetExitCodeProcess(process, &exitCode));
    return exitCode;
}

FirstChildWatcher::FirstChildWatcher(const std::string& recordPath)
    : m_thread([this, recordPath] {
          for (int attempt = 0; attempt < 1000; ++attempt) {
              const std::vector<StandInCall> calls = ReadStandInCalls(recordPath);
              if (!calls.empty()) {
                  m_child.Reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, calls[0].processId));
                  return;
              }
              ::Sleep(10);
          }
      })
{
}

FirstChildWatcher::~FirstChildWatcher()
{
    if (m_thread.joinable())
        m_thread.join();
}

HANDLE FirstChildWatcher::Child()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_child.Get();
}
