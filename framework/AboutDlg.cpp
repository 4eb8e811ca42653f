#include "framework/AboutDlg.h"

#include "framework/Resources.h"

namespace {
constexpr UINT kRightsMaker = 300;
constexpr UINT kRightsPrefix = 301;
}  // namespace

BOOL CAboutDlg::OnInitDialog() {
    const std::string rights = LoadResString(kRightsPrefix) + LoadResString(kRightsMaker);
    SetDlgItemTextA(m_hWnd, m_rightsControlId, rights.c_str());
    return TRUE;
}
