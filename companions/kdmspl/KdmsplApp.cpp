#include "companions/kdmspl/KdmsplApp.h"

#include "companions/kdmspl/resource.h"

BOOL CKdmsplApp::InitInstance() {
    if (!LoadSuiteSettings(IDS_REG_ERROR))
        return FALSE;
    // The running copy already answers the broadcast that follows this start.
    if (!m_instance.Acquire())
        return FALSE;
    m_spooler = std::make_unique<CSpooler>(RecvFolder(), TempFolder());
    m_window = std::make_unique<CSpoolWnd>(*m_spooler, true);
    if (!m_window->Create(Instance()))
        return FALSE;
    m_instance.MarkMainWindow(*m_window);
    SetMainWindow(*m_window);
    return TRUE;
}

int CKdmsplApp::ExitInstance() {
    m_instance.Release();
    return CSuiteApp::ExitInstance();
}
