#include "framework/Profile.h"

#include <vector>

std::string CRegistryProfile::SectionPath(const char* section) const {
    return "Software\\" + m_registryKey + "\\" + m_profileName + "\\" + section;
}

HKEY CRegistryProfile::OpenSection(const char* section) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

std::string CRegistryProfile::GetString(const char* section, const char* entry, const char* defaultValue) const {
    HKEY key = OpenSection(section);
    if (!key)
        return defaultValue;
    std::string value = defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            // The stored bytes need not end in a NUL; the value stops at the first one.
            data[size < data.size() ? size : data.size() - 1] = '\0';
            value = data.data();
        }
    }
    RegCloseKey(key);
    return value;
}

bool CRegistryProfile::WriteString(const char* section, const char* entry, const std::string& value) const {
    HKEY key = OpenSection(section);
    if (!key)
        return false;
    LONG result = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
