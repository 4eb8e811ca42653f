#include "dialdir/DialdirApp.h"

#include "dialdir/resource.h"
#include "framework/Resources.h"

CDialdirApp::CDialdirApp(HINSTANCE module) {
    SetResourceInstance(module);
    SetAppName(kAppName);
    LoadSuiteSettings(IDS_REG_ERROR);
}
