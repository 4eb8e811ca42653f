#include "common/testing/InstalledSettings.h"

#include <windows.h>

namespace {
const char kSettingsKey[] = "Software\\Orvex\\mirolo\\Settings";
}

void CreateFolderPath(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

CInstalledSettings::CInstalledSettings(const std::string& installFolder)
    : m_program(installFolder + "\\"),
      m_recv(installFolder + "\\tray\\"),
      m_log(installFolder + "\\Log\\"),
      m_temp(installFolder + "\\Temp\\") {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvex");
    for (const std::string* folder : {&m_program, &m_recv, &m_log, &m_temp})
        CreateFolderPath(*folder);
    Write("PROGRAM_DIR", m_program);
    Write("RECVFLD_DIR", m_recv);
    Write("LOG_DIR", m_log);
    Write("TEMP_DIR", m_temp);
}

CInstalledSettings::~CInstalledSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvex");
}

void CInstalledSettings::Write(const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void CInstalledSettings::Remove(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}
