#include "common/SuiteApp.h"

#include "framework/MessageBox.h"
#include "framework/Resources.h"

bool CSuiteApp::LoadSuiteSettings(UINT errorStringId) {
    SetRegistryKey("Orvex");
    SetProfileName("mirolo");
    m_settings = SuiteSettings{};
    CRegistryProfile profile = Profile();
    const char* missing =
        ReadSuiteFolders([&](const char* name) { return profile.GetString(kSettingsSection, name, ""); }, m_settings);
    if (missing) {
        AppMessageBox(nullptr, LoadResString(errorStringId), MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    SetHelpPath(m_settings.helpPath);
    return true;
}
