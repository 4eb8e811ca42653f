#include "launcher/LauncherApp.h"

#include <commctrl.h>

#include "launcher/MenuDlg.h"
#include "framework/Resources.h"
#include "launcher/resource.h"

BOOL CLauncherApp::InitInstance() {
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

    CMenuDlg menu(*this);
    menu.DoModal(nullptr);
    SetMainWindow(nullptr);
    m_instance.Release();
    // The dialog was the whole program: no message loop after it.
    return FALSE;
}
