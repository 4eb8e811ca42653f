#include "companions/twain/manager/SourceChooser.h"

#include "companions/twain/manager/resource.h"

INT_PTR CSourceChooser::Run(HWND owner) {
    return DialogBoxParamA(m_instance, MAKEINTRESOURCEA(IDD_SELECT_SOURCE), IsWindow(owner) ? owner : nullptr,
                           &CSourceChooser::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CSourceChooser::DialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lp);
        reinterpret_cast<CSourceChooser*>(lp)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<CSourceChooser*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    return self ? self->OnMessage(message, wp, lp) : FALSE;
}

INT_PTR CSourceChooser::OnMessage(UINT message, WPARAM wp, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp));
    }
    return FALSE;
}

BOOL CSourceChooser::OnInitDialog() {
    HWND list = GetDlgItem(m_dialog, IDC_SOURCE_LIST);
    // The list sorts its rows by name; each row keeps its source's index.
    for (size_t i = 0; i < m_sources.size(); ++i) {
        const auto row =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_sources[i].identity.ProductName));
        SendMessageA(list, LB_SETITEMDATA, row, i);
    }
    for (int row = 0; row < static_cast<int>(m_sources.size()); ++row)
        if (static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, row, 0)) == m_chosen)
            SendMessageA(list, LB_SETCURSEL, row, 0);
    EnableWindow(GetDlgItem(m_dialog, IDOK), !m_sources.empty());
    SetFocus(list);
    return FALSE;
}

BOOL CSourceChooser::OnCommand(int id, int code) {
    switch (id) {
    case IDOK:
        OnSelect();
        return TRUE;
    case IDCANCEL:
        EndDialog(m_dialog, IDCANCEL);
        return TRUE;
    case IDC_SOURCE_LIST:
        if (code == LBN_DBLCLK)
            OnSelect();
        return TRUE;
    }
    return FALSE;
}

void CSourceChooser::OnSelect() {
    HWND list = GetDlgItem(m_dialog, IDC_SOURCE_LIST);
    const auto row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR)
        return;
    m_chosen = static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, row, 0));
    EndDialog(m_dialog, IDOK);
}
