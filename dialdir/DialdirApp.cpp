#include "dialdir/DialdirApp.h"

#include "dialdir/resource.h"
#include "framework/Resources.h"

CDialdirApp::CDialdirApp(HINSTANCE module) {
    SetResourceInstance(module);
    SetAppName(LoadResString(IDS_APP_TITLE));
    LoadSuiteSettings(IDS_REG_ERROR);
}
