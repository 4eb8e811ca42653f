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

HWND FocusWithin(HWND window) {
    HWND focus = GetFocus();
    return focus && (focus == window || IsChild(window, focus)) ? focus : nullptr;
}
}  // namespace

void DiscardQueuedInput(HWND window) {
    if (!window)
        return;
    DiscardFor(window);
    EnumChildWindows(window, &DiscardChild, 0);
}

void PaintPendingWindows() {
    // A window that leaves its update region after painting would be handed WM_PAINT for ever: a bound.
    MSG msg;
    for (int i = 0; i < 64 && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageA(&msg);
}

CBusyState::CBusyState(HWND window)
    : m_window(window), m_wasEnabled(window && IsWindowEnabled(window)), m_focus(FocusWithin(window)) {
    ++s_depth;
    m_previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (m_wasEnabled)
        EnableWindow(m_window, FALSE);
}

CBusyState::~CBusyState() {
    if (m_wasEnabled)
        EnableWindow(m_window, TRUE);
    DiscardQueuedInput(m_window);
    if (m_wasEnabled && m_focus && IsWindow(m_focus) && IsWindowVisible(m_focus) && IsWindowEnabled(m_focus) &&
        GetFocus() != m_focus && GetActiveWindow() == GetAncestor(m_window, GA_ROOT))
        SetFocus(m_focus);
    --s_depth;
    SetCursor(m_previousCursor);
}
