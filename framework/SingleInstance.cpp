#include "framework/SingleInstance.h"

#include <cstring>

namespace {
struct SearchState {
    const char* property;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* state = reinterpret_cast<SearchState*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() || !IsWindowVisible(hwnd) || !GetPropA(hwnd, state->property))
        return TRUE;
    if (state->caption) {
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (strcmp(text, state->caption) != 0)
            return TRUE;
    }
    state->found = hwnd;
    return FALSE;
}
}  // namespace

bool CSingleInstance::Acquire() {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, TRUE, m_name.c_str());
    if (existing) {
        CloseHandle(existing);
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    CKernelHandle mutex(CreateMutexA(nullptr, TRUE, m_name.c_str()));
    // Another copy may have created it between the two calls.
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    m_mutex = std::move(mutex);
    return true;
}

void CSingleInstance::MarkMainWindow(HWND hwnd) const {
    SetPropA(hwnd, m_name.c_str(), reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
}

HWND CSingleInstance::FindRunningWindow(const char* caption, DWORD waitMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        SearchState state{m_name.c_str(), caption, nullptr};
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&state));
        if (state.found || GetTickCount() - start >= waitMs)
            return state.found;
        Sleep(50);
    }
}

void CSingleInstance::BringForward(HWND hwnd) {
    ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd);
}
