#include "viewer/OpenFaxDlg.h"

#include <commctrl.h>

#include <utility>

#include "common/WholeFile.h"
#include "common/core/LogLine.h"
#include "framework/BusyState.h"
#include "framework/DialogLayout.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/core/Mbcs.h"
#include "viewer/OpenFaxReadMark.h"
#include "viewer/resource.h"

namespace {
const ListColumn kColumns[] = {
    {IDS_COLUMN_SENDER, 150, LVCFMT_LEFT},
    {IDS_COLUMN_STATUS, 50, LVCFMT_LEFT},
    {IDS_COLUMN_DATE, 150, LVCFMT_LEFT},
    {IDS_COLUMN_PAGES, 50, LVCFMT_RIGHT},
};
constexpr int kShownFields = 4;
// The list keeps file names one byte shorter than the log does.
constexpr size_t kFileNameLimit = 255;
// The chosen fax's path goes into a buffer of 256 bytes with its terminator.
constexpr size_t kPathLimit = 255;
constexpr int kRowImage = 1;

enum Phase : LPARAM { kPhaseDone = 0, kPhaseLoading = 1, kPhaseClearing = 3 };

const ReceiveLogRecord* RecordOf(LPARAM data) {
    return reinterpret_cast<const ReceiveLogRecord*>(data);
}
}  // namespace

COpenFaxDlg::COpenFaxDlg(Folders folders, HWND progressOwner)
    : CDialog(IDD_OPEN_FAX), m_folders(std::move(folders)), m_progressOwner(progressOwner) {}

COpenFaxDlg::~COpenFaxDlg() = default;

BOOL COpenFaxDlg::OnInitDialog() {
    m_list.SubclassDlgItem(IDC_FAX_LIST, m_hWnd);
    m_list.SetFullRowSel(true);
    // A row without a record counts as read.
    m_list.SetAttentionRule([](int, LPARAM data) {
        const ReceiveLogRecord* record = RecordOf(data);
        return record && record->NeedsAttention();
    });
    m_list.InsertColumns(kColumns);
    UINT failure = 0;
    {
        CBusyState busy(m_hWnd);
        failure = LoadLog();
        if (!m_records.empty())
            FocusRow(0);
        m_rememberedRow = -1;
    }
    if (failure)
        AppMessageBox(m_hWnd, FormatResString(failure, std::string(ReceiveLogLayout().logFileName)),
                      MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

UINT COpenFaxDlg::LoadLog() {
    const LogLayout& layout = ReceiveLogLayout();
    std::string bytes;
    const FileResult read = ReadWholeFile(m_folders.log + std::string(layout.logFileName), bytes);
    if (read == FileResult::kCannotOpen)
        return IDS_CANNOT_OPEN_FILE;
    size_t position = 0;
    std::string line;
    // This list's own heading word: a line whose sender is its first column's title, or whose date is
    // "日期/时间", is a header.
    const std::string senderTitle = LoadResString(IDS_COLUMN_SENDER);
    while (NextLogLine(bytes, position, layout, line)) {
        auto record = std::make_unique<ReceiveLogRecord>();
        ParseLogLine(line, *record, kFileNameLimit);
        if (!IsLogHeader(*record, senderTitle))
            AddRow(std::move(record));
        Report(static_cast<WPARAM>(position * 100 / bytes.size()), kPhaseLoading);
    }
    Report(100, kPhaseDone);
    return read == FileResult::kCannotClose ? IDS_CANNOT_CLOSE_FILE : 0;
}

void COpenFaxDlg::AddRow(std::unique_ptr<ReceiveLogRecord> record) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(m_records.size());
    item.pszText = const_cast<char*>(record->Field(0).c_str());
    item.iImage = kRowImage;
    item.lParam = reinterpret_cast<LPARAM>(record.get());
    const int row = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return;
    for (int column = 1; column < kShownFields; ++column) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(record->Field(static_cast<size_t>(column)).c_str());
        SendMessageA(m_list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
    }
    m_records.push_back(std::move(record));
}

void COpenFaxDlg::ClearList() {
    m_list.SuspendEmphasis(true);
    const int count = static_cast<int>(m_records.size());
    for (int row = count - 1; row >= 0; --row) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = 0;
        SendMessageA(m_list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        m_records.pop_back();
        SendMessageA(m_list, LVM_DELETEITEM, row, 0);
        if (row != count - 1)
            Report(static_cast<WPARAM>((count - row) * 100 / count), kPhaseClearing);
    }
    while (SendMessageA(m_list, LVM_DELETECOLUMN, 0, 0)) {
    }
    Report(100, kPhaseDone);
    m_list.SuspendEmphasis(false);
}

INT_PTR COpenFaxDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_SETCURSOR:
        return KeepWaitCursorWhileBusy(m_hWnd);
    }
    return CDialog::DialogProc(msg, wp, lp);
}

BOOL COpenFaxDlg::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_FAX_LIST)
        return FALSE;
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && change.iItem >= 0)
            m_rememberedRow = change.iItem;
        break;
    }
    case NM_SETFOCUS:
        if (!m_records.empty() && m_rememberedRow == -1)
            FocusRow(0);
        break;
    case NM_DBLCLK:
        Choose();
        break;
    }
    return FALSE;
}

void COpenFaxDlg::FocusRow(int row) {
    LVITEMA state{};
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    SendMessageA(m_list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

int COpenFaxDlg::SelectedRow() const {
    return static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void COpenFaxDlg::OnOK() {
    Choose();
}

void COpenFaxDlg::Choose() {
    {
        CBusyState busy(m_hWnd);
        const int row = SelectedRow();
        if (row < 0 || static_cast<size_t>(row) >= m_records.size())
            return;
        m_chosen = std::make_unique<ReceiveLogRecord>(*m_records[static_cast<size_t>(row)]);
        const std::string path = m_folders.recv + m_chosen->FileName();
        m_chosenPath = path.substr(0, FittingLength(path, kPathLimit));
        if (!m_chosen->IsRead()) {
            SYSTEMTIME now;
            GetLocalTime(&now);
            m_readMarkPath = WriteReadMark(m_hWnd, *m_chosen, m_folders.temp, now);
        }
        ClearList();
    }
    EndDialog(IDOK);
}

void COpenFaxDlg::OnCancel() {
    {
        CBusyState busy(m_hWnd);
        ClearList();
    }
    EndDialog(IDCANCEL);
}

void COpenFaxDlg::Report(WPARAM percent, LPARAM phase) const {
    if (m_progressOwner && IsWindow(m_progressOwner))
        SendMessageA(m_progressOwner, WM_STATUS_PROGRESS, percent, phase);
}
