#include "framework/BusyState.h"

namespace {
void DiscardFor(HWND hwnd) {
    MSG msg;
    while (PeekMessageA(&msg, hwnd, WM_MOUSEFIRST, 0x209, PM_REMOVE) ||
           PeekMessageA(&msg, hwnd, WM_KEYFIRST, 0x108, PM_REMOVE)) {
    }
}

BOOL CALLBACK DiscardChild(HWND child, LPARAM) {
    DiscardFor(child);
    return TRUE;
}
}  // namespace

void DiscardQueuedInput(HWND window) {
    if (!window)
        return;
    DiscardFor(window);
    EnumChildWindows(window, &DiscardChild, 0);
}

CBusyState::CBusyState(HWND window) : m_window(window), m_wasEnabled(window && IsWindowEnabled(window)) {
    ++s_depth;
    m_previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (m_wasEnabled)
        EnableWindow(m_window, FALSE);
}

CBusyState::~CBusyState() {
    if (m_wasEnabled)
        EnableWindow(m_window, TRUE);
    DiscardQueuedInput(m_window);
    --s_depth;
    SetCursor(m_previousCursor);
}
