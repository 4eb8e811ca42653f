#include "logbook/LogbookView.h"

#include <commctrl.h>

#include "framework/BusyState.h"
#include "framework/Resources.h"
#include "logbook/LogbookApp.h"
#include "logbook/resource.h"

namespace {
constexpr char kViewClass[] = "MiroloLogView";
constexpr int kPhaseClearing = 3;
constexpr int kPhaseDone = 0;

// The date columns are 165 pixels wide, not 150: in this font a bold row's date ends in "..." at 150 and hides
// the time of exactly the faxes that need attention.
constexpr int kDateWidth = 165;

const ListColumn kSendColumns[] = {
    {IDS_COLUMN_TO, 150, LVCFMT_LEFT},     {IDS_COLUMN_STATUS, 40, LVCFMT_LEFT},
    {IDS_COLUMN_DIALS, 70, LVCFMT_CENTER}, {IDS_COLUMN_DATE, kDateWidth, LVCFMT_LEFT},
    {IDS_COLUMN_PAGES, 40, LVCFMT_RIGHT},  {IDS_COLUMN_REMARK, 200, LVCFMT_LEFT},
};
const ListColumn kReceiveColumns[] = {
    {IDS_COLUMN_FROM, 150, LVCFMT_LEFT},
    {IDS_COLUMN_STATUS, 60, LVCFMT_LEFT},
    {IDS_COLUMN_DATE, kDateWidth, LVCFMT_LEFT},
    {IDS_COLUMN_PAGES, 40, LVCFMT_RIGHT},
};

std::span<const ListColumn> ColumnsOf(LogKind kind) {
    if (kind == LogKind::kSend)
        return kSendColumns;
    return kReceiveColumns;
}
}  // namespace

bool CLogbookView::Create(HWND parent, UINT id) {
    if (!RegisterWindowClass(ResourceInstance(), kViewClass, 0, nullptr))
        return false;
    if (!CreateEx(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ResourceInstance()))
        return false;
    // Report view, owner-drawn fixed rows, one selection, headers that do not sort; the selection shows only
    // while the list has the focus.
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_OWNERDATA |
                                    LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_AUTOARRANGE,
                                0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_LOG_LIST)),
                                ResourceInstance(), nullptr);
    if (!list || !m_list.SubclassWindow(list))
        return false;
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_list.SetAttentionRule([this](int row, LPARAM) {
        return m_log && row >= 0 && static_cast<size_t>(row) < m_log->Size() &&
               m_log->At(static_cast<size_t>(row)).NeedsAttention();
    });
    return true;
}

HWND CLogbookView::MainWindow() const {
    return GetParent(m_hWnd);
}

void CLogbookView::OnInitialUpdate() {
    m_shown = TheLogbookApp().StartList();
    ShowList(m_shown);
    m_list.SetFullRowSel(true);
}

// The list holds no rows of its own: it asks for the records' texts when it draws them, so showing a log of
// 10,000 records is one message, not 60,000.
void CLogbookView::InsertRows() {
    SendMessageA(m_list, LVM_SETITEMCOUNT, m_log->Size(), LVSICF_NOINVALIDATEALL);
    InvalidateRect(m_list, nullptr, TRUE);
}

void CLogbookView::ShowList(LogKind kind) {
    m_shown = kind;
    {
        CBusyState busy(MainWindow());
        m_lastClicked = -1;
        m_list.InsertColumns(ColumnsOf(kind));
        m_log.emplace(LayoutOf(kind), CurrentLogTime());
        m_file.emplace(LayoutOf(kind), TheLogbookApp().Settings(), MainWindow(), WM_LOG_PROGRESS);
        LogFile().Load(*m_log);
        InsertRows();
    }
    if (LogFile().ApplyReadMarks(*m_log))
        InvalidateRect(m_list, nullptr, FALSE);
}

// The rows are the log's records, so the list empties in one step: one report of the clearing phase while the
// records go, not one for each row as a list that held its own rows would need.
void CLogbookView::ClearList() {
    if (!m_log)
        return;
    CBusyState busy(MainWindow());
    m_list.SuspendEmphasis(true);
    if (m_log->Size() > 1)
        SendMessageA(MainWindow(), WM_LOG_PROGRESS, 0, kPhaseClearing);
    SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);
    m_log.reset();
    m_file.reset();
    while (SendMessageA(m_list, LVM_DELETECOLUMN, 0, 0)) {
    }
    SendMessageA(MainWindow(), WM_LOG_PROGRESS, 100, kPhaseDone);
    m_list.SuspendEmphasis(false);
}

void CLogbookView::SwitchTo(LogKind kind) {
    // One piece of work from the old list's clearing to the new one's read marks.
    CBusyState busy(MainWindow());
    ClearList();
    TheLogbookApp().SetShownList(kind);
    ShowList(kind);
}

void CLogbookView::Refresh() {
    SwitchTo(m_shown);
}

LogRecord CLogbookView::TakeRow(int row) {
    LogRecord record = m_log->At(static_cast<size_t>(row));
    // The record goes first: the list may redraw while it drops the row, asking for the rows that remain.
    m_log->Remove(static_cast<size_t>(row));
    SendMessageA(m_list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    if (m_lastClicked == row)
        m_lastClicked = -1;
    else if (m_lastClicked > row)
        --m_lastClicked;
    return record;
}

bool CLogbookView::SaveLog() {
    return LogFile().Save(*m_log);
}

LRESULT CLogbookView::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != m_list.GetSafeHwnd())
        return 0;
    switch (header.code) {
    case LVN_GETDISPINFOA: {
        auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
        if (!m_log || info.item.iItem < 0 || static_cast<size_t>(info.item.iItem) >= m_log->Size())
            return 0;
        const LogRecord* record = &m_log->At(static_cast<size_t>(info.item.iItem));
        if (info.item.mask & LVIF_IMAGE)
            info.item.iImage = m_shown == LogKind::kSend ? 0 : 1;
        if (info.item.mask & LVIF_PARAM)
            info.item.lParam = reinterpret_cast<LPARAM>(record);
        if ((info.item.mask & LVIF_TEXT) && info.item.cchTextMax > 0) {
            const std::string& text = record->Field(static_cast<size_t>(info.item.iSubItem));
            lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
        }
        return 0;
    }
    case NM_CLICK:
    case NM_DBLCLK: {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        LVHITTESTINFO hit{};
        hit.pt = activate.ptAction;
        const int row = static_cast<int>(SendMessageA(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        m_lastClicked = row;
        if (header.code == NM_DBLCLK && row >= 0)
            OpenFax();
        return 0;
    }
    }
    return 0;
}

LRESULT CLogbookView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        MoveWindow(m_list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(m_list);
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_DRAWITEM: {
        const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        CWnd* control = FromHandle(dis.hwndItem);
        return control ? control->OnDrawItemReflect(dis) : FALSE;
    }
    case WM_DESTROY:
        // The rows go with the window; no progress now: the frame is already on its way out, and pumping its
        // messages would swallow the quit.
        m_list.SuspendEmphasis(true);
        SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);
        m_log.reset();
        m_file.reset();
        break;
    }
    return CView::WindowProc(msg, wp, lp);
}

int CLogbookView::SelectedRow() const {
    const int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
    return m_log && selected >= 0 && static_cast<size_t>(selected) < m_log->Size() ? selected : -1;
}

bool CLogbookView::IsSendAgainPossible() const {
    const int selected = SelectedRow();
    return m_shown == LogKind::kSend && selected >= 0 &&
           !IsSentResult(m_log->At(static_cast<size_t>(selected)).Field(SendLogRecord::kResult));
}

bool CLogbookView::OnCommand(UINT id) {
    switch (id) {
    case ID_OPEN_FAX:
        OpenFax();
        return true;
    case ID_DELETE_ROW:
        DeleteSelectedRow();
        return true;
    case ID_SEND_AGAIN:
        SendAgain();
        return true;
    case ID_REFRESH_LIST:
        Refresh();
        return true;
    }
    return false;
}

bool CLogbookView::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.Id()) {
    case ID_OPEN_FAX:
        ui.Enable(m_shown == LogKind::kReceive);
        return true;
    case ID_DELETE_ROW:
        ui.Enable(SelectedRow() >= 0);
        return true;
    case ID_SEND_AGAIN:
        ui.Enable(IsSendAgainPossible());
        return true;
    case ID_REFRESH_LIST:
        return true;
    }
    return false;
}
