#pragma once

// A test's own product installation: an install folder under the temporary folder whose path has
// spaces and a double-byte character with the trail byte 0x5C, holding copies of the stand-in
// components, and a call record file beside it (outside the install folder). The stand-ins'
// environment variables are cleared again when the test ends.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

// A handle of the test's own, closed straight through Windows (not through the platform double).
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle = nullptr) : m_handle(handle) {}
    ~OwnedHandle()
    {
        if (m_handle)
            ::CloseHandle(m_handle);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    void Reset(HANDLE handle)
    {
        if (m_handle)
            ::CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

class ComponentFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts a copy of the stand-in (Pellox.dll or Draveth.exe) into the install folder.
    void Install(const char* component);
    // Sets one of the stand-ins' environment variables for this test.
    static void Tell(const char* variable, const char* value);

    std::string ComponentPath(const char* component) const { return m_installFolder + "\\" + component; }

    std::string m_root;           // the test's folder under the temporary folder
    std::string m_installFolder;  // "<root>\Program Files\ソフト Quarnel"
    std::string m_recordPath;     // "<root>\calls.txt"
};

// The exit code Windows reports for the process, after waiting up to 10 s for it to end; or
// STILL_ACTIVE.
DWORD ExitCodeOf(HANDLE process);

// Opens the first child that the record file names, on a thread of its own, as soon as the child
// has written its line (giving up after about 10 s). The handle keeps the child's exit code readable
// after the runner has closed its own handles.
class FirstChildWatcher {
public:
    explicit FirstChildWatcher(const std::string& recordPath);
    ~FirstChildWatcher();
    FirstChildWatcher(const FirstChildWatcher&) = delete;
    FirstChildWatcher& operator=(const FirstChildWatcher&) = delete;

    // Waits for the watch to end; the child's handle, or null when none was found.
    HANDLE Child();

private:
    std::thread m_thread;
    OwnedHandle m_child;
};
