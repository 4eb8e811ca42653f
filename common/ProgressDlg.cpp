#include "common/ProgressDlg.h"

#include <commctrl.h>

#include "framework/BusyState.h"

CProgressDlg* CProgressDlg::Open(HWND owner, std::string text) {
    auto* dialog = new CProgressDlg(std::move(text));
    HWND hwnd = dialog->Create(owner);
    if (!hwnd) {
        delete dialog;
        return nullptr;
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return dialog;
}

BOOL CProgressDlg::OnInitDialog() {
    SendDlgItemMessageA(m_hWnd, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SetDlgItemTextA(m_hWnd, IDC_PROGRESS_TEXT, m_text.c_str());
    return TRUE;
}

void CProgressDlg::SetPosition(int percent) {
    PaintPendingWindows();
    if (m_hWnd)
        SendDlgItemMessageA(m_hWnd, IDC_PROGRESS_BAR, PBM_SETPOS, percent, 0);
}

void CProgressDlg::CloseAfter(UINT milliseconds) {
    if (milliseconds > 0 && m_hWnd)
        SetTimer(m_hWnd, kCloseTimer, milliseconds, nullptr);
}

INT_PTR CProgressDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kCloseTimer) {
        KillTimer(m_hWnd, kCloseTimer);
        DestroyWindow(m_hWnd);
        return TRUE;
    }
    return CDialog::DialogProc(msg, wp, lp);
}
