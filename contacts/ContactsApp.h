#pragma once
#include "common/SuiteApp.h"
#include "framework/SingleInstance.h"

// The address book program: settings, one running copy only, then the address book dialog until it ends.
class CContactsApp : public CSuiteApp {
public:
    CContactsApp() : m_instance("Mirolo Address Book") {}
    const CSingleInstance& Instance() const { return m_instance; }

protected:
    BOOL InitInstance() override;

private:
    CSingleInstance m_instance;
};
