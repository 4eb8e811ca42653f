#include "companions/twain/source/ScannerWindow.h"

#include <commctrl.h>
#include <shlobj.h>

#include "companions/twain/source/resource.h"
#include "framework/Resources.h"

namespace {
const int kFolderControls[] = {IDC_FOLDER, IDC_BROWSE};
const int kSettingControls[] = {IDC_STANDARD,        IDC_FINE,   IDC_PAGES,  IDC_PAGES_SPIN, IDC_TEST_SHEETS,
                                IDC_FOLDER_PICTURES, IDC_FOLDER, IDC_BROWSE, IDC_SCAN};

std::string ControlText(HWND window, int id) {
    char text[MAX_PATH] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}
}  // namespace

bool CScannerWindow::Create(HWND owner, const ScanSettings& settings) {
    if (m_window)
        return true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    m_owner = owner;
    m_settings = settings;
    m_scanning = m_cancelPressed = false;
    if (!CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(IDD_SCANNER), owner, DialogProc,
                            reinterpret_cast<LPARAM>(this)))
        return false;
    m_ownerWasEnabled = m_owner && IsWindowEnabled(m_owner);
    if (m_ownerWasEnabled)
        EnableWindow(m_owner, FALSE);
    ShowWindow(m_window, SW_SHOW);
    return true;
}

void CScannerWindow::Destroy() {
    if (!m_window)
        return;
    // The owner first, so that activation goes back to it rather than to another program.
    if (m_ownerWasEnabled)
        EnableWindow(m_owner, TRUE);
    HWND window = m_window;
    m_window = nullptr;
    DestroyWindow(window);
}

bool CScannerWindow::TakeDialogMessage(MSG& msg) {
    return m_window && (msg.hwnd == m_window || IsChild(m_window, msg.hwnd)) && IsDialogMessageA(m_window, &msg);
}

void CScannerWindow::SetScanning(bool scanning) {
    m_scanning = scanning;
    m_cancelPressed = false;
    EnableControls();
    if (m_window)
        SendMessageA(m_window, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(m_window, scanning ? IDCANCEL : IDC_SCAN)), TRUE);
}

void CScannerWindow::ShowStatus(const std::string& text) {
    if (!m_window)
        return;
    SetDlgItemTextA(m_window, IDC_STATUS, text.c_str());
    UpdateWindow(GetDlgItem(m_window, IDC_STATUS));
}

void CScannerWindow::ShowMessage(const std::string& text, UINT icon) {
    char caption[64] = {};
    GetWindowTextA(m_window, caption, sizeof caption);
    MessageBoxA(m_window, text.c_str(), caption, icon | MB_OK);
}

bool CScannerWindow::CancelPressed() {
    MSG msg;
    while (m_window && PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(m_window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return m_cancelPressed;
}

INT_PTR CALLBACK CScannerWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<CScannerWindow*>(lParam)->m_window = window;
    }
    auto* self = reinterpret_cast<CScannerWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    return self && self->m_window == window ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CScannerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return FALSE;  // the focus is on Scan
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

void CScannerWindow::OnInitDialog() {
    CheckRadioButton(m_window, IDC_STANDARD, IDC_FINE,
                     m_settings.resolution == scan::Resolution::kStandard ? IDC_STANDARD : IDC_FINE);
    SendDlgItemMessageA(m_window, IDC_PAGES_SPIN, UDM_SETRANGE32, 1, ScanSettings::kMaxPages);
    SendDlgItemMessageA(m_window, IDC_PAGES_SPIN, UDM_SETPOS32, 0, m_settings.pages);
    SendDlgItemMessageA(m_window, IDC_PAGES, EM_LIMITTEXT, 2, 0);
    CheckRadioButton(m_window, IDC_TEST_SHEETS, IDC_FOLDER_PICTURES,
                     m_settings.folderPictures ? IDC_FOLDER_PICTURES : IDC_TEST_SHEETS);
    SendDlgItemMessageA(m_window, IDC_FOLDER, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetDlgItemTextA(m_window, IDC_FOLDER, m_settings.folder.c_str());
    SetDlgItemTextA(m_window, IDC_STATUS, LoadResString(IDS_READY).c_str());
    EnableControls();
    CentreOverOwner();
    SetFocus(GetDlgItem(m_window, IDC_SCAN));
}

void CScannerWindow::OnCommand(int id, int code) {
    switch (id) {
    case IDC_SCAN:
        OnScan();
        break;
    case IDCANCEL:
        OnCancel();
        break;
    case IDC_BROWSE:
        OnBrowse();
        break;
    case IDC_TEST_SHEETS:
    case IDC_FOLDER_PICTURES:
        if (code == BN_CLICKED)
            EnableControls();
        break;
    }
}

void CScannerWindow::OnScan() {
    if (m_scanning)
        return;
    BOOL valid = FALSE;
    const UINT pages = GetDlgItemInt(m_window, IDC_PAGES, &valid, FALSE);
    if (!valid || pages < 1 || pages > ScanSettings::kMaxPages) {
        ShowMessage(LoadResString(IDS_BAD_PAGES), MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(m_window, IDC_PAGES));
        return;
    }
    m_settings.pages = pages;
    m_settings.resolution =
        IsDlgButtonChecked(m_window, IDC_STANDARD) ? scan::Resolution::kStandard : scan::Resolution::kFine;
    m_settings.folderPictures = IsDlgButtonChecked(m_window, IDC_FOLDER_PICTURES) == BST_CHECKED;
    m_settings.folder = ControlText(m_window, IDC_FOLDER);
    m_requests.ScanPressed(m_settings);
}

void CScannerWindow::OnCancel() {
    if (m_scanning) {
        m_cancelPressed = true;
        ShowStatus(LoadResString(IDS_CANCELLING));
        return;
    }
    m_requests.CloseAsked();
}

void CScannerWindow::OnBrowse() {
    const std::string title = LoadResString(IDS_CHOOSE_FOLDER);
    char chosen[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = m_window;
    browse.pszDisplayName = chosen;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item)
        return;
    if (SHGetPathFromIDListA(item, chosen)) {
        SetDlgItemTextA(m_window, IDC_FOLDER, chosen);
        CheckRadioButton(m_window, IDC_TEST_SHEETS, IDC_FOLDER_PICTURES, IDC_FOLDER_PICTURES);
        EnableControls();
    }
    CoTaskMemFree(item);
}

void CScannerWindow::EnableControls() {
    if (!m_window)
        return;
    for (int id : kSettingControls)
        EnableWindow(GetDlgItem(m_window, id), !m_scanning);
    if (!m_scanning) {
        const bool folder = IsDlgButtonChecked(m_window, IDC_FOLDER_PICTURES) == BST_CHECKED;
        for (int id : kFolderControls)
            EnableWindow(GetDlgItem(m_window, id), folder);
    }
}

void CScannerWindow::CentreOverOwner() {
    RECT own, over;
    GetWindowRect(m_window, &own);
    if (!m_owner || !GetWindowRect(m_owner, &over))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &over, 0);
    const int width = own.right - own.left, height = own.bottom - own.top;
    SetWindowPos(m_window, nullptr, (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
