#include "setup/core/InstalledValues.h"

#include <cstdio>

#include "setup/core/InstallTables.h"
#include "setup/core/UninstallRecord.h"

namespace setup {

namespace {

constexpr const char* kSettingsKey = "Software\\Orvex\\mirolo\\Settings";
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\ORVEX Kdm-540";

std::string Format(const char* format, const std::string& text, int number) {
    char out[512];
    std::snprintf(out, sizeof out, format, text.c_str(), number);
    return out;
}

}  // namespace

std::vector<IniValue> Kdm540IniValues(const std::string& install, int port) {
    return {
        {"COMMON", "ProgPath", install},
        {"COMMON", "TrayPath", install + "\\TRAY"},
        {"COMMON", "LogPath", install + "\\LOG"},
        {"COMMON", "TempPath", install + "\\TEMP"},
        {"PORT", "ComPot", "LPT" + std::to_string(port)},
        {"WATCHER", "RingCount", "3"},
    };
}

std::vector<ProfileEdit> ResolveProfileEdits(const FolderVars& vars, int port) {
    std::vector<ProfileEdit> edits;
    for (size_t i = 0; i < kProfileEditCount; ++i) {
        const ProfileEditEntry& row = kProfileEdits[i];
        const std::string driver = row.device ? "KDMFX" : "KDMPD";
        std::string value = row.value;
        if (row.code == 1 || row.code == 11)
            value = vars.windows + value;
        else if (row.code == 2 || row.code == 12)
            value = vars.system + value;
        const bool broadcast = row.code >= 10 && row.code <= 13;
        if (row.kind == kProfilePrinterFolder) {
            edits.push_back(
                {row.kind, {}, row.key, vars.system + "\\" + Format(value.c_str(), driver, 0), broadcast, false});
            continue;
        }
        if (row.format)
            value = Format(value.c_str(), driver, port);
        edits.push_back({row.kind, row.section, row.key, value, broadcast, broadcast});
    }
    return edits;
}

std::vector<RegistryValue> RegistryValues(const std::string& install) {
    const RegistryValue smh{kClassesRoot, ".smh", "", false, "Viewer.Document"};
    const RegistryValue type{kClassesRoot, "Viewer.Document", "", false, "Viewer.Document"};
    return {
        {kCurrentUser, kSettingsKey, "PROGRAM_DIR", false, install + "\\"},
        {kCurrentUser, kSettingsKey, "RECVFLD_DIR", false, install + "\\tray\\"},
        {kCurrentUser, kSettingsKey, "LOG_DIR", false, install + "\\Log\\"},
        {kCurrentUser, kSettingsKey, "TEMP_DIR", false, install + "\\Temp\\"},
        smh,
        type,
        {kClassesRoot, "Viewer.Document", "EditFlags", true, std::string(4, '\0')},
        {kClassesRoot, "Viewer.Document\\DefaultIcon", "", false, install + "\\viewer.exe,1"},
        {kClassesRoot, "Viewer.Document\\shell", "", false, ""},
        {kClassesRoot, "Viewer.Document\\shell\\open\\command", "", false, install + "\\Viewer.exe \"%1\""},
        {kClassesRoot, "Viewer.Document\\shell\\open\\ddeexec", "", false, "[open(\"%1\")]"},
        {kLocalMachine, kUninstallKey, "DisplayName", false, "LUMENPOST"},
        {kLocalMachine, kUninstallKey, "UninstallString", false, install + "\\REMOVER.EXE /R"},
        smh,
        type,
    };
}

}  // namespace setup
