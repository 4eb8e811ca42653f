#pragma once
#include "common/core/SuiteFolders.h"
#include "framework/App.h"

// The application object of the suite's programs: the framework's, plus the suite settings.
class CSuiteApp : public CWinApp {
public:
    // Reads the folders from HKEY_CURRENT_USER\Software\Orvex\mirolo\Settings. When one is missing or empty,
    // shows the program's string `errorStringId` ("注册错误") once, titled with the application name, and fails.
    bool LoadSuiteSettings(UINT errorStringId);

    const SuiteSettings& Settings() const { return m_settings; }
    const std::string& RecvFolder() const { return m_settings.recvFolder; }
    const std::string& LogFolder() const { return m_settings.logFolder; }
    const std::string& TempFolder() const { return m_settings.tempFolder; }
    const std::string& ProgramFolder() const { return m_settings.programFolder; }

    std::string RecvFile(const std::string& fileName) const { return FileInFolder(RecvFolder(), fileName); }

private:
    SuiteSettings m_settings;
};
