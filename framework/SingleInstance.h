#pragma once
#include <windows.h>

#include <string>

#include "framework/Handles.h"

// Marks the running copy of a program with a named mutex and finds that copy's main window again: the window
// carries a property named like the mutex, so a second start recognises it whatever its caption says.
class CSingleInstance {
public:
    explicit CSingleInstance(std::string mutexName) : m_name(std::move(mutexName)) {}

    // True for the first copy, which then holds the mutex until Release().
    bool Acquire();
    void Release() { m_mutex.Reset(); }
    bool Held() const { return static_cast<bool>(m_mutex); }

    void MarkMainWindow(HWND hwnd) const;

    // The running copy's marked, visible top-level window, if it has a caption equal to `caption` (any caption
    // when null). Waits up to `waitMs` for a copy that is still starting to show its window.
    HWND FindRunningWindow(const char* caption, DWORD waitMs = 3000) const;

    // Restores a minimised window, shows it and makes it the foreground window.
    static void BringForward(HWND hwnd);

private:
    std::string m_name;
    CKernelHandle m_mutex;
};
