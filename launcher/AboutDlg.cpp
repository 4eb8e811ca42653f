#include "launcher/AboutDlg.h"

#include "framework/Resources.h"
#include "launcher/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    std::string rights = LoadResString(IDS_RIGHTS_PREFIX) + LoadResString(IDS_RIGHTS);
    SetDlgItemTextA(m_hWnd, IDC_RIGHTS, rights.c_str());
    return TRUE;
}
