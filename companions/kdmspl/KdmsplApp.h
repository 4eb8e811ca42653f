#pragma once
#include <memory>

#include "common/SuiteApp.h"
#include "companions/kdmspl/SpoolWnd.h"
#include "framework/SingleInstance.h"

// The spooler program: settings, then one running copy only (every hand-off starts it again), then its window
// until the user closes it.
class CKdmsplApp : public CSuiteApp {
public:
    CKdmsplApp() : m_instance("Mirolo kdmspl") {}

protected:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CSingleInstance m_instance;
    std::unique_ptr<CSpooler> m_spooler;
    std::unique_ptr<CSpoolWnd> m_window;
};
