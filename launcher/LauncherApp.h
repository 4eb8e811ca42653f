#pragma once
#include "common/SuiteApp.h"
#include "framework/SingleInstance.h"

// The menu program: settings, then one running copy only, then the menu dialog until it is closed.
class CLauncherApp : public CSuiteApp {
public:
    CLauncherApp() : m_instance("Mirolo Launcher") {}

    const CSingleInstance& Instance() const { return m_instance; }

protected:
    BOOL InitInstance() override;

private:
    CSingleInstance m_instance;
};
