#include "logbook/LogbookApp.h"

#include <commctrl.h>

#include "common/SpoolerHandOff.h"
#include "framework/Resources.h"
#include "framework/core/TextFormat.h"
#include "logbook/resource.h"

CLogbookApp& TheLogbookApp() {
    return *static_cast<CLogbookApp*>(TheApp());
}

LogKind CLogbookApp::ListFromCommandLine(const std::string& argument) {
    const std::string lower = LowerAscii(argument);
    return lower.find("receive.csv") != std::string::npos ? LogKind::kReceive : LogKind::kSend;
}

BOOL CLogbookApp::InitInstance() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    SetAppName(LoadResString(IDS_APP_TITLE));
    if (!LoadSuiteSettings(IDS_REG_ERROR))
        return FALSE;
    m_startList = ListFromCommandLine(CWinApp::FirstArgument());
    if (!m_instance.Acquire()) {
        if (HWND running = m_instance.FindRunningWindow(nullptr)) {
            CSingleInstance::BringForward(running);
            SendMessageA(running, WM_SHOW_LIST, m_startList == LogKind::kReceive ? 1 : 0, 0);
        }
        return FALSE;
    }
    if (!CreateMainWindow())
        return FALSE;
    if (!RegisterWindowMessageA(kResendMessageName))
        return FALSE;
    ShowWindow(m_frame.GetSafeHwnd(), SW_SHOW);
    UpdateWindow(m_frame.GetSafeHwnd());
    return TRUE;
}

bool CLogbookApp::CreateMainWindow() {
    if (!m_frame.Create(IDR_MAINFRAME, LoadResString(IDS_APP_TITLE)))
        return false;
    SetMainWindow(m_frame.GetSafeHwnd());
    m_instance.MarkMainWindow(m_frame.GetSafeHwnd());
    if (!m_view.Create(m_frame.GetSafeHwnd(), IDC_VIEW))
        return false;
    m_frame.SetView(&m_view, nullptr);
    m_view.OnInitialUpdate();
    AddAboutToSystemMenu();
    return true;
}

void CLogbookApp::DestroyMainWindow() {
    if (m_frame.GetSafeHwnd())
        DestroyWindow(m_frame.GetSafeHwnd());
}

void CLogbookApp::AddAboutToSystemMenu() const {
    const std::string about = LoadResString(IDS_ABOUTBOX);
    HMENU menu = GetSystemMenu(m_frame.GetSafeHwnd(), FALSE);
    if (about.empty() || !menu)
        return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

void CLogbookApp::OnMainWindowClosing() {
    m_instance.Release();
}

bool CLogbookApp::PreTranslateMessage(MSG& msg) {
    // Keys typed into the open selector choose its entries, not commands.
    HWND selector = m_frame.ListSelector();
    if (selector && (msg.hwnd == selector || IsChild(selector, msg.hwnd)))
        return false;
    return m_frame.GetSafeHwnd() && m_frame.TranslateAccelerator(msg);
}

bool CLogbookApp::OnIdle(int count) {
    if (count == 0 && m_frame.GetSafeHwnd()) {
        m_frame.OnIdleUpdate();
        m_frame.PollListSelector();
    }
    return false;
}
