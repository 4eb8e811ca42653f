#include "common/AddressBook.h"

#include <commctrl.h>

#include "common/WholeFile.h"
#include "common/CommonResources.h"
#include "common/ProgressDlg.h"
#include "common/core/AddressOrder.h"
#include "framework/BusyState.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
// Message texts name the file, not its folder.
constexpr char kFileName[] = "Addr.csv";
constexpr size_t kLoadProgressBytes = 30000;
constexpr size_t kProgressRows = 500;
constexpr UINT kProgressLingerMs = 1000;

AddressEntry EntryOf(const AddressRecord& record) {
    return {record.name, record.phone, record.address, record.remarks};
}

// Moves the bar only when the percentage changes: each move dispatches the waiting messages.
class CProgressSteps {
public:
    CProgressSteps(HWND owner, bool shown, UINT textId)
        : m_dialog(shown ? CProgressDlg::Open(owner, LoadResString(textId)) : nullptr) {}
    void Set(size_t percent) {
        if (m_dialog && percent != m_last) {
            m_last = percent;
            m_dialog->SetPosition(static_cast<int>(percent));
        }
    }
    void Finish(UINT lingerMs) {
        if (!m_dialog)
            return;
        Set(100);
        m_dialog->CloseAfter(lingerMs);
    }

private:
    CProgressDlg* m_dialog;
    size_t m_last = 0;
};

void BringForward(HWND dialog) {
    SetForegroundWindow(dialog);
    SetActiveWindow(dialog);
}
}  // namespace

void CAddressBook::Attach(HWND dialog, HWND list, std::string path) {
    m_dialog = dialog;
    m_list = list;
    m_path = std::move(path);
    for (int i = 0; i < 4; ++i)
        m_headings[i] = LoadResString(m_setup.columns[i].heading);
}

void CAddressBook::InsertColumns() {
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = m_setup.columns[i].width;
        column.pszText = m_headings[i].data();
        column.iSubItem = i;
        SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

AddressHeadings CAddressBook::Headings() const {
    return {m_headings[0], m_headings[1], m_headings[2], m_headings[3]};
}

bool CAddressBook::Load() {
    std::string bytes;
    FileResult result;
    bool overflowed = false;
    {
        CBusyState busy(m_dialog);
        result = ReadWholeFile(m_path, bytes);
        // A book that is there but could not be read whole is never written over with what was read of it.
        m_fileWritable = result == FileResult::kOk || IsMissingFile(m_path);
        if (result == FileResult::kOk) {
            CProgressSteps progress(m_dialog, bytes.size() > kLoadProgressBytes, IDS_LOADING);
            const AddressHeadings headings = Headings();
            SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
            size_t position = 0;
            std::string line;
            while (NextAddressLine(bytes, position, line)) {
                const AddressEntry entry = ParseAddressLine(line);
                if (!IsAddressHeading(entry, headings)) {
                    if (m_rows.size() < kAddressListLimit) {
                        AddressRecord record;
                        record.Set(entry.phone.c_str(), entry.name.c_str(), entry.address.c_str(),
                                   entry.remarks.c_str());
                        AddRow(m_rows.size(), record);
                    } else {
                        overflowed = true;
                        m_overflowLines += line;
                    }
                }
                progress.Set(position * 100 / bytes.size());
            }
            SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(m_list, nullptr, TRUE);
            progress.Finish(kProgressLingerMs);
            BringForward(m_dialog);
        }
    }
    if (result != FileResult::kOk) {
        ReportFileError(result == FileResult::kCannotOpen ? IDS_CANNOT_OPEN : IDS_CANNOT_CLOSE);
        return false;
    }
    // Once per load, not once per line that does not fit.
    if (overflowed)
        AppMessageBox(m_dialog, LoadResString(m_setup.overflowStringId), MB_OK | MB_ICONINFORMATION);
    return true;
}

std::string CAddressBook::FileText() const {
    std::string bytes;
    bytes.reserve(m_rows.size() * 64 + m_overflowLines.size());
    CProgressSteps progress(m_dialog, m_rows.size() >= kProgressRows, IDS_SAVING);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        AppendTextModeOutput(bytes, FormatAddressLine(EntryOf(*m_rows[i])));
        progress.Set(100 * i / m_rows.size());
    }
    AppendTextModeOutput(bytes, m_overflowLines);
    progress.Finish(kProgressLingerMs);
    return bytes;
}

bool CAddressBook::Save() {
    if (!m_fileWritable) {
        ReportFileError(IDS_CANNOT_OPEN);
        return false;
    }
    FileResult result;
    {
        CBusyState busy(m_dialog);
        result = ReplaceWholeFile(m_path, FileText());
        if (result == FileResult::kOk)
            BringForward(m_dialog);
    }
    if (result != FileResult::kOk) {
        ReportFileError(result == FileResult::kCannotOpen ? IDS_CANNOT_OPEN : IDS_CANNOT_CLOSE);
        return false;
    }
    return true;
}

int CAddressBook::Insert(const AddressEntry& entry, bool checkDuplicates) {
    AddressRecord record;
    record.Set(entry.phone.c_str(), entry.name.c_str(), entry.address.c_str(), entry.remarks.c_str());
    const AddressPlace place = PlaceAddress(
        m_rows.size(), [this](size_t i) -> const AddressRecord& { return *m_rows[i]; }, record.name, record.phone,
        checkDuplicates);
    switch (place.placement) {
    case AddressPlacement::kFull:
        AppMessageBox(m_dialog, LoadResString(m_setup.overflowStringId), MB_OK | MB_ICONINFORMATION);
        return 0;
    case AddressPlacement::kReplace:
        if (AppMessageBox(m_dialog, LoadResString(m_setup.replaceStringId), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
            return 0;
        *m_rows[place.index] = record;
        SetRowTexts(static_cast<int>(place.index), record, 0);
        return 1;
    case AddressPlacement::kInsert:
        break;
    }
    AddRow(place.index, record);
    return 1;
}

void CAddressBook::AddRow(size_t index, const AddressRecord& fields) {
    auto record = std::make_unique<AddressRecord>(fields);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(index);
    item.pszText = record->name;
    item.lParam = reinterpret_cast<LPARAM>(record.get());
    const int row = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return;  // the list is out of memory: the entry is not taken rather than shown nowhere
    m_rows.insert(m_rows.begin() + row, std::move(record));
    SetRowTexts(row, *m_rows[static_cast<size_t>(row)], 1);
}

void CAddressBook::SetRowTexts(int row, const AddressRecord& record, int firstColumn) {
    const char* texts[4] = {record.name, record.phone, record.address, record.remarks};
    for (int column = firstColumn; column < 4; ++column) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(texts[column]);
        SendMessageA(m_list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}

void CAddressBook::DeleteRow(int row) {
    if (row < 0 || row >= Count())
        return;
    SendMessageA(m_list, LVM_DELETEITEM, row, 0);
    m_rows.erase(m_rows.begin() + row);
}

void CAddressBook::Clear() {
    const size_t count = m_rows.size();
    CProgressSteps progress(m_dialog, count >= kProgressRows, IDS_CLEARING);
    ShowWindow(m_dialog, SW_HIDE);
    for (size_t k = 0; k < count; ++k) {
        SendMessageA(m_list, LVM_DELETEITEM, count - 1 - k, 0);
        m_rows.pop_back();
        if (count > 1)
            progress.Set(100 * k / (count - 1));
    }
    m_overflowLines.clear();
    progress.Finish(kProgressLingerMs);
}

void CAddressBook::ReportFileError(UINT stringId) const {
    AppMessageBox(m_dialog, FormatResString(stringId, kFileName), MB_OK | MB_ICONEXCLAMATION);
}
