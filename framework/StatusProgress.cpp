#include "framework/StatusProgress.h"

#include <commctrl.h>

#include "framework/BusyState.h"
#include "framework/Resources.h"
#include "framework/StatusBar.h"

bool CStatusProgress::Create(CStatusBar& statusBar, int pane, UINT id) {
    m_statusBar = &statusBar;
    m_pane = pane;
    m_bar = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, statusBar.Hwnd(),
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ResourceInstance(), nullptr);
    if (!m_bar)
        return false;
    SendMessageA(m_bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(m_bar, PBM_SETSTEP, 1, 0);
    return true;
}

void CStatusProgress::Place() const {
    if (!m_bar)
        return;
    const RECT pane = m_statusBar->PaneRect(m_pane);
    MoveWindow(m_bar, pane.left + 1, pane.top + 1, pane.right - pane.left - 2, pane.bottom - pane.top - 2, TRUE);
}

void CStatusProgress::Show(const std::string& text, WPARAM percent) {
    if (percent >= 100) {
        m_workStart.reset();
        SetText(text);
        if (m_barMoved) {
            SendMessageA(m_bar, PBM_SETPOS, 0, 0);
            m_barMoved = false;
        }
        return;
    }
    const DWORD now = GetTickCount();
    if (!m_workStart)
        m_workStart = now;
    const bool textChanges = text != m_statusBar->PaneText(0);
    if (now - *m_workStart < kIntervalMs || (!textChanges && now - m_lastTick < kIntervalMs))
        return;
    m_lastTick = now;
    PaintPendingWindows();
    SetText(text);
    SendMessageA(m_bar, PBM_SETPOS, percent, 0);
    m_barMoved = true;
}

void CStatusProgress::SetText(const std::string& text) {
    if (text == m_statusBar->PaneText(0))
        return;
    m_statusBar->SetPaneText(0, text);
    UpdateWindow(m_statusBar->Hwnd());
}
