#include "contacts/ContactsDlg.h"

#include <commctrl.h>

#include <iterator>

#include "common/CommonResources.h"
#include "contacts/ContactsApp.h"
#include "contacts/resource.h"
#include "framework/AboutDlg.h"
#include "framework/BusyState.h"
#include "framework/DialogLayout.h"
#include "framework/DialogIcon.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
const AddressBookSetup kBookSetup{
    {{IDS_COLUMN_NAME, 130}, {IDS_COLUMN_PHONE, 150}, {IDS_COLUMN_ADDRESS, 200}, {IDS_COLUMN_REMARKS, 200}},
    IDS_OVERFLOW,
    IDS_REPLACE};

// Client pixels; the template's own positions are not used.
const ControlPlace kPlaces[] = {
    {IDC_BOOK, 15, 12, 381, 177},        {IDC_ADD, 70, 198, 122, 21},         {IDC_DELETE, 202, 198, 122, 21},
    {IDC_PHONE_LABEL, 7, 230, 58, 19},   {IDC_NAME_LABEL, 7, 256, 58, 19},    {IDC_ADDRESS_LABEL, 7, 282, 58, 19},
    {IDC_REMARKS_LABEL, 7, 308, 58, 19}, {IDC_PHONE, 69, 227, 256, 23},       {IDC_NAME, 69, 253, 256, 23},
    {IDC_ADDRESS, 69, 279, 256, 23},     {IDC_REMARKS, 69, 305, 256, 23},     {IDC_CLEAR, 338, 227, 58, 102},
    {IDC_SEPARATOR, 5, 340, 403, 3},     {IDC_HELP_BUTTON, 238, 350, 75, 23}, {IDC_EXIT, 321, 350, 75, 23},
};
constexpr int kDialogWidth = 416;
constexpr int kClientHeight = 381;

struct Label {
    int id;
    UINT bitmap;
};
const Label kLabels[] = {{IDC_PHONE_LABEL, IDB_LABEL_PHONE},
                         {IDC_NAME_LABEL, IDB_LABEL_NAME},
                         {IDC_ADDRESS_LABEL, IDB_LABEL_ADDRESS},
                         {IDC_REMARKS_LABEL, IDB_LABEL_REMARKS}};

}  // namespace

CContactsDlg::CContactsDlg(CContactsApp& app) : CDialog(IDD_CONTACTS_DIALOG), m_app(app), m_book(kBookSetup) {}

BOOL CContactsDlg::OnInitDialog() {
    m_app.SetMainWindow(m_hWnd);
    m_app.Instance().MarkMainWindow(m_hWnd);
    AddSystemMenuItem();
    m_icon = LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SetDialogIcons(m_hWnd, m_icon);

    m_add.AutoLoad(IDC_ADD, m_hWnd);
    m_delete.AutoLoad(IDC_DELETE, m_hWnd);
    m_clear.AutoLoad(IDC_CLEAR, m_hWnd);
    LoadLabels();
    m_list.SubclassDlgItem(IDC_BOOK, m_hWnd);
    m_list.SetFullRowSel(true);
    LayOut();
    m_boxes.Attach(m_hWnd, {IDC_PHONE, IDC_NAME, IDC_ADDRESS, IDC_REMARKS});

    m_book.Attach(m_hWnd, m_list.GetSafeHwnd(), m_app.ProgramFolder() + "Addr.csv");
    m_book.InsertColumns();
    m_book.Load();
    m_currentRow = -1;
    return TRUE;
}

void CContactsDlg::AddSystemMenuItem() {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    const std::string about = LoadResString(IDS_ABOUTBOX);
    if (!menu || about.empty())
        return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

void CContactsDlg::LoadLabels() {
    for (size_t i = 0; i < std::size(kLabels); ++i) {
        // Drawn on the classic grey like the buttons; mapped to the dialog's own face colour.
        m_labels[i].Reset(static_cast<HBITMAP>(LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(kLabels[i].bitmap),
                                                          IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
        SendDlgItemMessageA(m_hWnd, kLabels[i].id, STM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(m_labels[i].Get()));
    }
}

void CContactsDlg::LayOut() {
    PlaceDialogControls(m_hWnd, kPlaces, kDialogWidth, kClientHeight);
}

BOOL CContactsDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
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
        case IDC_EXIT:
            Exit();
            return TRUE;
        case IDC_HELP_BUTTON:
            m_app.ShowHelp(IDH_CONTACTS, HELP_CONTEXT);
            return TRUE;
        }
    }
    return CDialog::OnCommand(id, code, control);
}

INT_PTR CContactsDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
            CAboutDlg about(IDD_ABOUTBOX, IDC_RIGHTS);
            about.DoModal(m_hWnd);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        Close();
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_SETCURSOR:
        return KeepWaitCursorWhileBusy(m_hWnd);
    case WM_PAINT:
        return PaintMinimisedIcon(m_hWnd, m_icon);
    case WM_QUERYDRAGICON:
        // One of the few messages whose dialog-procedure result is the answer itself.
        return reinterpret_cast<INT_PTR>(m_icon);
    }
    return CDialog::DialogProc(msg, wp, lp);
}

BOOL CContactsDlg::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_BOOK)
        return FALSE;
    switch (header.code) {
    case NM_CLICK: {
        LVHITTESTINFO hit{};
        hit.pt = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
        const int row =
            static_cast<int>(SendMessageA(m_list.GetSafeHwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row < 0 || !(hit.flags & LVHT_ONITEM))
            m_currentRow = -1;
        else
            ShowRow(row);
        break;
    }
    case LVN_ITEMCHANGED:
        // Text changes are notified too, once per cell as a book loads; only a change of state can select.
        if (reinterpret_cast<const NMLISTVIEW&>(header).uChanged & LVIF_STATE) {
            if (const int row = SelectedRow(); row >= 0)
                ShowRow(row);
        }
        break;
    case NM_SETFOCUS:
        if (m_book.Count() > 0 && m_currentRow == -1) {
            LVITEMA state{};
            state.stateMask = LVIS_FOCUSED;
            state.state = LVIS_FOCUSED;
            SendMessageA(m_list.GetSafeHwnd(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
        }
        break;
    }
    return FALSE;
}

void CContactsDlg::ShowRow(int row) {
    m_boxes.Show(m_book.Record(row));
    m_currentRow = row;
}

int CContactsDlg::SelectedRow() const {
    return static_cast<int>(
        SendMessageA(m_list.GetSafeHwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CContactsDlg::Add() {
    const AddressEntry entry = m_boxes.Read();
    if (entry.name.empty()) {
        AppMessageBox(m_hWnd, LoadResString(IDS_NO_NAME), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (entry.phone.empty()) {
        AppMessageBox(m_hWnd, LoadResString(IDS_NO_PHONE), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (m_book.Insert(entry, true) == 1)
        m_dirty = true;
}

void CContactsDlg::Delete() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (AppMessageBox(m_hWnd, LoadResString(IDS_DELETE_CONFIRM), MB_OKCANCEL) != IDOK)
        return;
    CBusyState busy(m_hWnd);
    m_book.DeleteRow(row);
    m_currentRow = -1;
    m_dirty = true;
}

void CContactsDlg::Exit() {
    // A failed save has been reported; the dialog ends all the same.
    if (m_dirty)
        m_book.Save();
    m_book.Clear();
    EndDialog(IDOK);
}

void CContactsDlg::Close() {
    if (m_dirty)
        m_book.Save();
    ShowWindow(m_hWnd, SW_HIDE);
    EnableWindow(m_hWnd, FALSE);
    m_book.Clear();
    EndDialog(IDCANCEL);
}
