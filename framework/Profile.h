#pragma once
#include <windows.h>

#include <string>

// The per-user application profile in the registry: HKEY_CURRENT_USER\Software\<key>\<profile>\<section>.
// Opening a section creates the levels that are missing.
class CRegistryProfile {
public:
    CRegistryProfile(std::string registryKey, std::string profileName)
        : m_registryKey(std::move(registryKey)), m_profileName(std::move(profileName)) {}

    std::string GetString(const char* section, const char* entry, const char* defaultValue = "") const;
    bool WriteString(const char* section, const char* entry, const std::string& value) const;

    std::string SectionPath(const char* section) const;

private:
    HKEY OpenSection(const char* section) const;

    std::string m_registryKey;
    std::string m_profileName;
};
