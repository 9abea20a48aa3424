#pragma once

// Runs a modal dialog on the test's own thread while a second thread drives it: the dialog
// manager's loop owns the calling thread until the dialog ends. The driver records what it sees in
// variables of the test; the test asserts on them after both are done.

#include <windows.h>

#include <functional>
#include <thread>

inline INT_PTR RunModalDriven(const std::function<INT_PTR()>& modalRun, const std::function<void(DWORD)>& driver)
{
    const DWORD uiThread = GetCurrentThreadId();
    std::thread driving([&] { driver(uiThread); });
    const INT_PTR result = modalRun();
    driving.join();
    return result;
}
