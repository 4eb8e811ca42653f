#include "dialdir/PhoneBookDlg.h"

#include <commctrl.h>

#include <iterator>
#include <optional>

#include "common/CommonResources.h"
#include "common/SuiteApp.h"
#include "dialdir/core/DialNumber.h"
#include "dialdir/resource.h"
#include "framework/BusyState.h"
#include "framework/DialogLayout.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
const AddressBookSetup kBookSetup{
    {{IDS_COLUMN_NAME, 150}, {IDS_COLUMN_PHONE, 150}, {IDS_COLUMN_ADDRESS, 200}, {IDS_COLUMN_REMARKS, 200}},
    IDS_OVERFLOW,
    IDS_REPLACE};

// Client pixels; the template's own positions are not used.
const ControlPlace kPlaces[] = {
    {IDC_BOOK, 15, 12, 410, 176},        {IDC_ADD, 64, 197, 81, 21},
    {IDC_DELETE, 152, 197, 81, 21},      {IDC_PHONE_LABEL, 7, 229, 55, 19},
    {IDC_NAME_LABEL, 7, 263, 55, 19},    {IDC_ADDRESS_LABEL, 7, 297, 55, 19},
    {IDC_REMARKS_LABEL, 7, 331, 55, 19}, {IDC_PHONE, 64, 225, 167, 22},
    {IDC_NAME, 64, 259, 167, 22},        {IDC_ADDRESS, 64, 293, 167, 22},
    {IDC_REMARKS, 64, 327, 167, 22},     {IDC_PAD, 241, 225, 186, 128},
    {IDC_CLEAR, 241, 225, 42, 57},       {IDOK, 251, 311, 43, 33},
    {IDC_KEY_1, 303, 233, 32, 19},       {IDC_KEY_2, 345, 233, 32, 19},
    {IDC_KEY_3, 387, 233, 32, 19},       {IDC_KEY_4, 303, 256, 32, 19},
    {IDC_KEY_5, 345, 256, 32, 19},       {IDC_KEY_6, 387, 256, 32, 19},
    {IDC_KEY_7, 303, 279, 32, 19},       {IDC_KEY_8, 345, 279, 32, 19},
    {IDC_KEY_9, 387, 279, 32, 19},       {IDC_KEY_STAR, 303, 302, 32, 19},
    {IDC_KEY_0, 345, 302, 32, 19},       {IDC_KEY_HASH, 387, 302, 32, 19},
    {IDC_KEY_PAUSE, 303, 325, 32, 19},   {IDC_KEY_MINUS, 345, 325, 32, 19},
    {IDC_HELP_BUTTON, 247, 371, 75, 23}, {IDCANCEL, 351, 371, 75, 23},
    {IDC_SEPARATOR, 5, 361, 434, 3},
};
constexpr int kDialogWidth = 446;
constexpr int kClientHeight = 402;

// In the order their images are loaded.
const int kBitmapButtons[] = {IDOK,      IDC_DELETE, IDC_KEY_HASH, IDC_KEY_STAR, IDC_KEY_8,     IDC_KEY_9,
                              IDC_KEY_7, IDC_KEY_6,  IDC_KEY_5,    IDC_KEY_4,    IDC_KEY_3,     IDC_KEY_2,
                              IDC_KEY_1, IDC_KEY_0,  IDC_ADD,      IDC_CLEAR,    IDC_KEY_PAUSE, IDC_KEY_MINUS};

struct Picture {
    int id;
    UINT bitmap;
};
const Picture kPictures[] = {{IDC_PAD, IDB_PAD},
                             {IDC_PHONE_LABEL, IDB_LABEL_PHONE},
                             {IDC_NAME_LABEL, IDB_LABEL_NAME},
                             {IDC_ADDRESS_LABEL, IDB_LABEL_ADDRESS},
                             {IDC_REMARKS_LABEL, IDB_LABEL_REMARKS}};

// The caption of a button, which names a dial pad key.
std::string Caption(HWND control) {
    char text[16] = {};
    if (control)
        GetWindowTextA(control, text, sizeof text);
    return text;
}
}  // namespace

CPhoneBookDlg::CPhoneBookDlg(CSuiteApp& app) : CDialog(IDD_PHONEBOOK), m_app(app), m_book(kBookSetup) {}

int CPhoneBookDlg::ResultEntry(int index, char* name, char* phone, char* address, char* remarks) const {
    if (index < 0 || index >= ResultCount())
        return 0;
    m_result[static_cast<size_t>(index)].CopyOut(phone, name, address, remarks);
    return 1;
}

BOOL CPhoneBookDlg::OnInitDialog() {
    LoadBitmaps();
    m_list.SubclassDlgItem(IDC_BOOK, m_hWnd);
    m_list.SetFullRowSel(true);
    LayOut();
    m_boxes.Attach(m_hWnd, {IDC_PHONE, IDC_NAME, IDC_ADDRESS, IDC_REMARKS});

    m_book.Attach(m_hWnd, m_list.GetSafeHwnd(), m_app.ProgramFolder() + "Addr.csv");
    m_book.InsertColumns();
    m_book.Load();
    return TRUE;
}

void CPhoneBookDlg::LoadBitmaps() {
    static_assert(std::size(kBitmapButtons) == sizeof(m_buttons) / sizeof(m_buttons[0]));
    for (size_t i = 0; i < std::size(kBitmapButtons); ++i)
        m_buttons[i].AutoLoad(kBitmapButtons[i], m_hWnd);
    for (size_t i = 0; i < std::size(kPictures); ++i) {
        m_pictures[i].Reset(static_cast<HBITMAP>(LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(kPictures[i].bitmap),
                                                            IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
        SendDlgItemMessageA(m_hWnd, kPictures[i].id, STM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(m_pictures[i].Get()));
    }
}

void CPhoneBookDlg::LayOut() {
    PlaceDialogControls(m_hWnd, kPlaces, kDialogWidth, kClientHeight);
}

BOOL CPhoneBookDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
        if (const auto key = FindDialKey(Caption(GetDlgItem(m_hWnd, static_cast<int>(id))))) {
            PressKey(*key);
            return TRUE;
        }
        switch (id) {
        case IDC_ADD:
            Add();
            return TRUE;
        case IDC_DELETE:
            Delete();
            return TRUE;
        case IDC_CLEAR:
            m_boxes.Clear();
            return TRUE;
        case IDC_HELP_BUTTON:
            m_app.ShowHelp(IDH_PHONEBOOK, HELP_CONTEXT);
            return TRUE;
        }
    }
    if (id == IDC_PHONE && code == EN_CHANGE && !m_showingRow) {
        OnPhoneEdited();
        return TRUE;
    }
    return CDialog::OnCommand(id, code, control);
}

INT_PTR CPhoneBookDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_SETCURSOR:
        return KeepWaitCursorWhileBusy(m_hWnd);
    }
    return CDialog::DialogProc(msg, wp, lp);
}

BOOL CPhoneBookDlg::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_BOOK)
        return FALSE;
    HWND list = m_list.GetSafeHwnd();
    switch (header.code) {
    case NM_CLICK: {
        LVHITTESTINFO hit{};
        hit.pt = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
        const int row = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row >= 0 && (hit.flags & LVHT_ONITEM))
            ShowRow(row);
        break;
    }
    case LVN_ITEMCHANGED: {
        // Only a row the user chooses fills the boxes: not the focus the list gives its first row, which would show
        // an entry nobody picked and send to it.
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool chosen =
            (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        if (chosen && change.iItem >= 0 && change.iItem < m_book.Count())
            ShowRow(change.iItem);
        break;
    }
    case NM_SETFOCUS:
        if (m_book.Count() > 0) {
            LVITEMA state{};
            state.stateMask = LVIS_FOCUSED;
            state.state = LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
        }
        break;
    }
    return FALSE;
}

void CPhoneBookDlg::ShowRow(int row) {
    m_showingRow = true;
    m_boxes.Show(m_book.Record(row));
    m_showingRow = false;
}

void CPhoneBookDlg::OnPhoneEdited() {
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(m_list.GetSafeHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
}

std::vector<int> CPhoneBookDlg::SelectedRows() const {
    std::vector<int> rows;
    HWND list = m_list.GetSafeHwnd();
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0)
            break;
        rows.push_back(row);
    }
    return rows;
}

void CPhoneBookDlg::Add() {
    const AddressEntry entry = m_boxes.Read();
    switch (CheckNewEntry(entry)) {
    case NewEntryCheck::kNoName:
        AppMessageBox(m_hWnd, LoadResString(IDS_NO_NAME), MB_OK | MB_ICONINFORMATION);
        return;
    case NewEntryCheck::kNoPhone:
        AppMessageBox(m_hWnd, LoadResString(IDS_NO_PHONE), MB_OK | MB_ICONINFORMATION);
        return;
    case NewEntryCheck::kComplete:
        break;
    }
    m_book.Insert(entry, true);
    // Even a refused replacement counts: the book is written back on closing.
    m_dirty = true;
}

void CPhoneBookDlg::Delete() {
    if (AppMessageBox(m_hWnd, LoadResString(IDS_DELETE_CONFIRM), MB_OKCANCEL) != IDOK)
        return;
    const std::vector<int> rows = SelectedRows();
    // From the bottom up, so the rows still to go keep their indices.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        CBusyState busy(m_hWnd);
        m_book.DeleteRow(*row);
        m_dirty = true;
    }
}

void CPhoneBookDlg::PressKey(const DialKey& key) {
    const auto typed = DialKeyPress(key, m_boxes.Read().phone);
    if (!typed)
        return;
    HWND phone = m_boxes.Phone();
    // As typed input, so it lands at the caret.
    SendMessageA(phone, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*typed)), 1);
    SetFocus(phone);
}

void CPhoneBookDlg::Choose() {
    std::optional<CBusyState> busy(std::in_place, m_hWnd);
    m_result.clear();
    const std::vector<int> rows = SelectedRows();
    if (!rows.empty()) {
        for (int row : rows)
            m_result.push_back(m_book.Record(row));
    } else {
        const auto typed = TypedDestination(m_boxes.Read());
        if (!typed) {
            busy.reset();
            AppMessageBox(m_hWnd, LoadResString(IDS_NO_SELECTION), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        m_result.push_back(*typed);
    }
    // A failed save has been reported; the dialog closes all the same.
    if (m_dirty)
        m_book.Save();
    m_book.Clear();
    busy.reset();
    EndDialog(IDOK);
}

void CPhoneBookDlg::Cancel() {
    std::optional<CBusyState> busy(std::in_place, m_hWnd);
    if (m_dirty)
        m_book.Save();
    m_book.Clear();
    busy.reset();
    EndDialog(IDCANCEL);
}
