#include "logbook/MainFrame.h"

#include <commctrl.h>

#include "framework/AboutDlg.h"
#include "framework/Resources.h"
#include "logbook/LogbookApp.h"
#include "logbook/LogbookView.h"
#include "logbook/resource.h"

namespace {
const std::vector<CToolBar::Slot> kSlots = {
    {0, 0},           {IDC_LIST_SELECTOR, 170}, {0, 6}, {ID_DELETE_ROW, 0},
    {ID_OPEN_FAX, 0}, {ID_SEND_AGAIN, 0},       {0, 0}, {ID_LOG_HELP, 0},
};
constexpr int kProgressPaneWidth = 100;
constexpr int kProgressPane = 1;
constexpr int kSelectorDroppedHeight = 100;

UINT PhaseText(LPARAM phase) {
    switch (phase) {
    case 1:
        return IDS_LOADING;
    case 2:
        return IDS_SAVING;
    case 3:
        return IDS_CLEARING;
    }
    return IDS_READY;
}

int IndexOf(LogKind kind) {
    return kind == LogKind::kReceive ? 1 : 0;
}
}  // namespace

bool CMainFrame::OnCreateBars() {
    SetIdleText(LoadResString(IDS_READY));
    if (!m_toolBar.Create(m_hWnd, IDB_TOOLBAR, 16, 15, kSlots) || !CreateListSelector())
        return false;
    if (!m_statusBar.Create(m_hWnd, {kProgressPaneWidth}))
        return false;
    if (!m_progress.Create(m_statusBar, kProgressPane, IDC_PROGRESS))
        return false;
    ShowPrompt(0);
    return true;
}

bool CMainFrame::CreateListSelector() {
    RECT slot = m_toolBar.ItemRect(m_toolBar.IndexOf(IDC_LIST_SELECTOR));
    m_selector =
        CreateWindowExA(0, WC_COMBOBOXA, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, slot.left, slot.top,
                        slot.right - slot.left, kSelectorDroppedHeight, m_toolBar.Hwnd(),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_LIST_SELECTOR)), ResourceInstance(), nullptr);
    if (!m_selector)
        return false;
    // The combo box reports to the toolbar; its choice is read while idle.
    m_selectorFont.Reset(CreateFontA(-12, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    SendMessageA(m_selector, WM_SETFONT, reinterpret_cast<WPARAM>(m_selectorFont.Get()), FALSE);
    for (UINT id : {IDS_SEND_LIST, IDS_RECEIVE_LIST})
        SendMessageA(m_selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResString(id).c_str()));
    SendMessageA(m_selector, CB_SETCURSEL, static_cast<WPARAM>(IndexOf(TheLogbookApp().StartList())), 0);
    return true;
}

void CMainFrame::PollListSelector() {
    auto* view = static_cast<CLogbookView*>(View());
    if (!m_selector || !view || SendMessageA(m_selector, CB_GETDROPPEDSTATE, 0, 0))
        return;
    const LRESULT chosen = SendMessageA(m_selector, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR || chosen == IndexOf(view->Shown()))
        return;
    view->SwitchTo(chosen == 1 ? LogKind::kReceive : LogKind::kSend);
}

void CMainFrame::ShowList(LogKind kind) {
    auto* view = static_cast<CLogbookView*>(View());
    if (!view)
        return;
    view->SwitchTo(kind);
    SendMessageA(m_selector, CB_SETCURSEL, static_cast<WPARAM>(IndexOf(kind)), 0);
}

void CMainFrame::RecalcLayout() {
    CFrameWnd::RecalcLayout();
    m_progress.Place();
}

void CMainFrame::ShowProgress(WPARAM percent, LPARAM phase) {
    m_progress.Show(LoadResString(PhaseText(phase)), percent);
}

bool CMainFrame::IsRequest(UINT msg) const {
    return msg == WM_SHOW_LIST || CFrameWnd::IsRequest(msg);
}

bool CMainFrame::OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& /*result*/) {
    switch (msg) {
    case WM_SHOW_LIST:
        ShowList(wp == 1 ? LogKind::kReceive : LogKind::kSend);
        return true;
    case WM_LOG_PROGRESS:
        ShowProgress(wp, lp);
        return true;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
            CAboutDlg about(IDD_ABOUTBOX, IDC_RIGHTS);
            about.DoModal(m_hWnd);
            return true;
        }
        return false;
    }
    return false;
}

bool CMainFrame::OnCommand(UINT id) {
    switch (id) {
    // What the list message does, handled here: the message would wait for this very command to end.
    case ID_SHOW_RECEIVE_LIST:
        ShowList(LogKind::kReceive);
        return true;
    case ID_SHOW_SEND_LIST:
        ShowList(LogKind::kSend);
        return true;
    case ID_LOG_HELP:
        TheLogbookApp().ShowHelp(IDH_LOGBOOK, HELP_CONTEXT);
        return true;
    }
    return CFrameWnd::OnCommand(id);
}

bool CMainFrame::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.Id()) {
    case ID_SHOW_RECEIVE_LIST:
    case ID_SHOW_SEND_LIST:
    case ID_LOG_HELP:
        return true;
    }
    return CFrameWnd::OnUpdateCommand(ui);
}

void CMainFrame::OnToolBarDocked() {
    m_toolBar.FitSlotControl(IDC_LIST_SELECTOR, m_selector, 0);
}

void CMainFrame::OnClose() {
    TheLogbookApp().OnMainWindowClosing();
    CFrameWnd::OnClose();
}
