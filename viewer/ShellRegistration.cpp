#include "viewer/ShellRegistration.h"

#include <windows.h>

namespace {
constexpr char kTypeId[] = "Viewer.Document";
constexpr char kTypeName[] = "Viewer Document";

bool SetDefault(const std::string& key, const std::string& value) {
    return RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size())) ==
           ERROR_SUCCESS;
}

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    // The short form has no spaces, so the command needs no quotes around the program.
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : path;
}
}  // namespace

bool RegisterSmhDocumentType(const std::string& programFolder) {
    const std::string type = kTypeId;
    SetDefault(".smh", type);
    SetDefault(type, kTypeName);
    SetDefault(type + "\\shell\\open\\command", ProgramPath() + " \"%1\"");
    SetDefault(type + "\\shell\\open\\ddeexec", "[open(\"%1\")]");
    SetDefault(type + "\\shell\\open\\ddeexec\\application", "Viewer");
    SetDefault(type + "\\shell\\open\\ddeexec\\topic", "System");

    HKEY icon = nullptr;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, (type + "\\DefaultIcon").c_str(), &icon) != ERROR_SUCCESS)
        return true;  // without the key nothing was written, and nothing needs closing
    const std::string value = programFolder + "viewer.exe,1";
    const bool written = RegSetValueExA(icon, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    const bool closed = RegCloseKey(icon) == ERROR_SUCCESS;
    return written || closed;
}
