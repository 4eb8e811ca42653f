#include "launcher/MenuDlg.h"

#include "framework/AboutDlg.h"
#include "framework/DialogIcon.h"
#include "framework/Resources.h"
#include "launcher/LauncherApp.h"
#include "launcher/core/MenuLayout.h"
#include "launcher/resource.h"

namespace {
// Bitmaps load in this order; the first button's size sets the layout.
const UINT kLoadOrder[6] = {IDC_FAXPRINT, IDC_SCANER, IDC_LOGBOOK, IDC_VIEWFAX, IDC_AUTORECV, IDC_PHONEBOOK};
const UINT kTips[6] = {IDS_TIP_FAXPRINT, IDS_TIP_SCANER,   IDS_TIP_LOGBOOK,
                       IDS_TIP_VIEWFAX,  IDS_TIP_AUTORECV, IDS_TIP_PHONEBOOK};
}  // namespace

CMenuDlg::CMenuDlg(CLauncherApp& app) : CDialog(IDD_MENU_DIALOG), m_app(app) {}

BOOL CMenuDlg::OnInitDialog() {
    m_app.SetMainWindow(m_hWnd);
    m_app.Instance().MarkMainWindow(m_hWnd);
    AddSystemMenuItems();
    m_icon = LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SetDialogIcons(m_hWnd, m_icon);
    LoadButtons();
    LayOut();
    AddToolTips();
    return TRUE;
}

void CMenuDlg::AddSystemMenuItems() {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    std::string about = LoadResString(IDS_ABOUTBOX);
    std::string onTop = LoadResString(IDS_ALWAYS_ON_TOP);
    std::string help = LoadResString(IDS_HELP);
    if (about.empty())
        return;
    // Restore, Size and Maximise mean nothing for a fixed window that cannot be maximised.
    for (UINT position : {0u, 2u, 4u})
        EnableMenuItem(menu, position, MF_BYPOSITION | MF_GRAYED);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_HELP, help.c_str());
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    AppendMenuA(menu, MF_STRING | MF_UNCHECKED, IDM_ALWAYS_ON_TOP, onTop.c_str());
    m_alwaysOnTop = 0;
}

void CMenuDlg::LoadButtons() {
    for (int i = 0; i < 6; ++i)
        m_buttons[i].AutoLoad(kLoadOrder[i], m_hWnd);
}

void CMenuDlg::LayOut() {
    RECT first{};
    GetWindowRect(GetDlgItem(m_hWnd, IDC_FAXPRINT), &first);
    int w = first.right - first.left;
    int h = first.bottom - first.top;
    for (const ButtonPlace& p : MenuButtonPlaces(w, h))
        MoveWindow(GetDlgItem(m_hWnd, p.id), p.x, p.y, p.cx, p.cy, FALSE);

    RECT r{};
    GetWindowRect(m_hWnd, &r);
    RECT client{r.left, r.top, r.left + MenuClientWidth(w), r.top + MenuClientHeight(h)};
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
    if (client.left < 0)
        OffsetRect(&client, -client.left, 0);
    if (client.top < 0)
        OffsetRect(&client, 0, -client.top);
    MoveWindow(m_hWnd, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
}

void CMenuDlg::AddToolTips() {
    if (!m_toolTip.Create(m_hWnd))
        return;
    m_toolTip.Activate(true);
    for (int i = 0; i < 6; ++i)
        m_toolTip.AddTool(GetDlgItem(m_hWnd, kLoadOrder[i]), kTips[i]);
}

BOOL CMenuDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_FAXPRINT:
            OpenDocument();
            return TRUE;
        case IDC_VIEWFAX:
            StartProgram("Logbook.exe", "receive.csv", true);
            return TRUE;
        case IDC_LOGBOOK:
            StartProgram("Logbook.exe", "send.csv", true);
            return TRUE;
        case IDC_PHONEBOOK:
            StartProgram("Contacts.exe", nullptr, true);
            return TRUE;
        case IDC_SCANER:
            StartProgram("Viewer.exe", nullptr, true);
            return TRUE;
        case IDC_AUTORECV:
            StartProgram("Watcher.exe", nullptr, false);
            return TRUE;
        }
    }
    return CDialog::OnCommand(id, code, control);
}

INT_PTR CMenuDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wp));
    case WM_CLOSE:
        EndDialog(IDOK);
        return TRUE;
    case WM_PAINT:
        return PaintMinimisedIcon(m_hWnd, m_icon);
    case WM_QUERYDRAGICON:
        // One of the few messages whose dialog-procedure result is the answer itself.
        return reinterpret_cast<INT_PTR>(m_icon);
    }
    return CDialog::DialogProc(msg, wp, lp);
}

BOOL CMenuDlg::OnSysCommand(UINT id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(IDD_ABOUTBOX, IDC_RIGHTS);
        about.DoModal(m_hWnd);
        return TRUE;
    }
    switch (id) {
    case IDM_ALWAYS_ON_TOP:
        ToggleAlwaysOnTop();
        return TRUE;
    case IDM_HELP:
        m_app.ShowHelp(0, HELP_FINDER);
        return TRUE;
    }
    return FALSE;
}

void CMenuDlg::ToggleAlwaysOnTop() {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    if (m_alwaysOnTop == 0) {
        CheckMenuItem(menu, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND | MF_CHECKED);
        m_alwaysOnTop = 1;
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        CheckMenuItem(menu, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND | MF_UNCHECKED);
        m_alwaysOnTop = 0;
        SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
}
