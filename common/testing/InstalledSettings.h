#pragma once
#include <string>

// For tests: an installation's settings key and folders below an install folder, written the way Setup writes
// them, and the settings key removed again at the end of the scope.
class CInstalledSettings {
public:
    explicit CInstalledSettings(const std::string& installFolder);
    ~CInstalledSettings();
    CInstalledSettings(const CInstalledSettings&) = delete;
    CInstalledSettings& operator=(const CInstalledSettings&) = delete;

    static void Write(const char* name, const std::string& value);
    static void Remove(const char* name);

    const std::string& ProgramFolder() const { return m_program; }
    const std::string& RecvFolder() const { return m_recv; }
    const std::string& LogFolder() const { return m_log; }
    const std::string& TempFolder() const { return m_temp; }

private:
    std::string m_program, m_recv, m_log, m_temp;
};

// Creates every folder along a path; existing ones are fine.
void CreateFolderPath(const std::string& path);
