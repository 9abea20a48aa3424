#pragma once

// Owners for the handles the engine opens through the platform: each closes its handle exactly
// once, through the platform that opened it, when it goes out of scope.

#include "platform/Platform.h"

// A registry key opened under another key. A root key is never put in one: it belongs to the caller.
class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    HKEY Get() const { return m_key; }
    HKEY* Receive()
    {
        Close();
        return &m_key;
    }
    void Close()
    {
        if (m_key) {
            CurrentPlatform().RegCloseKey(m_key);
            m_key = nullptr;
        }
    }

private:
    HKEY m_key = nullptr;
};

// A kernel object handle (process, thread), closed with CloseHandle.
class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    void Close()
    {
        if (m_handle && m_handle != INVALID_HANDLE_VALUE) {
            CurrentPlatform().CloseHandle(m_handle);
            m_handle = nullptr;
        }
    }

private:
    HANDLE m_handle = nullptr;
};

// A directory search, closed with FindClose.
class CFindHandle {
public:
    explicit CFindHandle(HANDLE search) : m_search(search) {}
    ~CFindHandle()
    {
        if (IsOpen())
            CurrentPlatform().FindClose(m_search);
    }
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;

    bool IsOpen() const { return m_search != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_search; }

private:
    HANDLE m_search;
};
