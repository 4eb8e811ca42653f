#include "contacts/ContactsApp.h"

#include <commctrl.h>

#include "contacts/ContactsDlg.h"
#include "contacts/resource.h"
#include "framework/Resources.h"

BOOL CContactsApp::InitInstance() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    const std::string title = LoadResString(IDS_APP_TITLE);
    SetAppName(title);
    if (!LoadSuiteSettings(IDS_REG_ERROR))
        return FALSE;
    if (!m_instance.Acquire()) {
        if (HWND running = m_instance.FindRunningWindow(title.c_str()))
            CSingleInstance::BringForward(running);
        return FALSE;
    }
    CContactsDlg dialog(*this);
    dialog.DoModal(nullptr);
    SetMainWindow(nullptr);
    m_instance.Release();
    // The dialog was the whole program: no message loop after it.
    return FALSE;
}
