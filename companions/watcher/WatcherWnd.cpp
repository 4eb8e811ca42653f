#include "companions/watcher/WatcherWnd.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "companions/watcher/resource.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
constexpr int kMargin = 8;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 26;

struct Column {
    UINT title;
    int width;
    int format;
};
constexpr Column kColumns[] = {
    {IDS_COLUMN_DATE, 140, LVCFMT_LEFT},
    {IDS_COLUMN_FROM, 130, LVCFMT_LEFT},
    {IDS_COLUMN_PAGES, 50, LVCFMT_RIGHT},
    {IDS_COLUMN_FILE, 170, LVCFMT_LEFT},
};

HWND Child(HWND parent, DWORD exStyle, const char* className, const char* text, DWORD style, UINT id) {
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (child)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
}  // namespace

bool CWatcherWnd::Create(HINSTANCE instance, int showCommand) {
    if (!RegisterWindowClass(instance, kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    if (!CreateEx(0, kClassName, LoadResString(IDS_CAPTION).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                  540, 300, nullptr, nullptr, instance))
        return false;
    // Setup starts the monitor minimised without activation; the Launcher shows it normally.
    ShowWindow(m_hWnd, showCommand);
    UpdateWindow(m_hWnd);
    return true;
}

LRESULT CWatcherWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        return OnSize(LOWORD(lp), HIWORD(lp));
    case WM_COMMAND:
        return OnCommand(LOWORD(wp));
    case kReceiveMessage:
        return ReceiveNow() ? 1 : 0;
    case WM_DESTROY:
        return OnDestroy();
    }
    return CWnd::WindowProc(msg, wp, lp);
}

LRESULT CWatcherWnd::OnCreate() {
    m_button =
        Child(m_hWnd, 0, "BUTTON", LoadResString(IDS_RECEIVE_NOW).c_str(), WS_TABSTOP | BS_PUSHBUTTON, IDC_RECEIVE_NOW);
    const std::string from = FormatResString(IDS_SAMPLES_FROM, m_receiver.SamplesFolder());
    m_samples = Child(m_hWnd, 0, "STATIC", from.c_str(), SS_LEFT | SS_CENTERIMAGE | SS_PATHELLIPSIS | SS_NOPREFIX,
                      IDC_SAMPLES_TEXT);
    m_list = Child(m_hWnd, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                   WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, IDC_RECEIVED_LIST);
    if (!m_button || !m_samples || !m_list)
        return -1;
    SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        const std::string title = LoadResString(kColumns[i].title);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(title.c_str());
        column.iSubItem = i;
        SendMessageA(m_list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    SetFocus(m_button);
    return 0;
}

LRESULT CWatcherWnd::OnSize(int cx, int cy) {
    if (!m_list)
        return 0;
    const int left = kMargin + kButtonWidth + kMargin;
    MoveWindow(m_button, kMargin, kMargin, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(m_samples, left, kMargin, cx - left - kMargin > 0 ? cx - left - kMargin : 0, kButtonHeight, TRUE);
    const int top = kMargin + kButtonHeight + kMargin;
    MoveWindow(m_list, kMargin, top, cx - 2 * kMargin > 0 ? cx - 2 * kMargin : 0,
               cy - top - kMargin > 0 ? cy - top - kMargin : 0, TRUE);
    return 0;
}

LRESULT CWatcherWnd::OnCommand(UINT id) {
    if (id == IDC_RECEIVE_NOW)
        ReceiveNow();
    return 0;
}

bool CWatcherWnd::ReceiveNow() {
    const CReceiver::Outcome outcome = m_receiver.Receive();
    if (!outcome.received) {
        AppMessageBox(m_hWnd, FormatResString(outcome.messageId, outcome.messageArg), MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    AddRow(outcome);
    return true;
}

// Newest on top, as the log viewer lists them.
void CWatcherWnd::AddRow(const CReceiver::Outcome& outcome) {
    const Reception& r = outcome.reception;
    const std::string date = FormatLogDate(r.received);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.pszText = const_cast<char*>(date.c_str());
    const int row = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return;
    SetCell(m_list, row, 1, r.sender);
    SetCell(m_list, row, 2, std::to_string(r.pages));
    SetCell(m_list, row, 3, r.documentName);
    SendMessageA(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

LRESULT CWatcherWnd::OnDestroy() {
    m_list = nullptr;
    if (m_quitOnClose)
        PostQuitMessage(0);
    return 0;
}
