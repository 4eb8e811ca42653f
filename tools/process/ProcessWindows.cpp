#include "tools/process/ProcessWindows.h"

namespace {
struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK PostClose(HWND hwnd, LPARAM lp) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == static_cast<DWORD>(lp))
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}
}  // namespace

HWND FindVisibleWindowOf(DWORD pid) {
    Search s{pid, nullptr};
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void CloseWindowsOf(DWORD pid) {
    EnumWindows(&PostClose, static_cast<LPARAM>(pid));
}

void EndProgram(const PROCESS_INFORMATION& pi, DWORD waitMs) {
    CloseWindowsOf(pi.dwProcessId);
    if (WaitForSingleObject(pi.hProcess, waitMs) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
