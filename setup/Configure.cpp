#include <cstdio>

#include "setup/PrinterFolder.h"
#include "setup/Install.h"
#include "setup/core/InstallPaths.h"
#include "setup/core/InstalledValues.h"
#include "setup/core/UninstallRecord.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Orvex\\mirolo\\Settings";

HKEY RootKey(uint32_t root) {
    switch (root) {
    case setup::kClassesRoot:
        return HKEY_CLASSES_ROOT;
    case setup::kLocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

// Each value on its own: the key opened with all access, the value set, flushed, the key closed.
void WriteValue(HKEY root, const char* subkey, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegFlushKey(key);
    RegCloseKey(key);
}

void WriteUninstallData(const SetupState& state) {
    auto values = setup::EncodeUninstallValues(setup::BuildUninstallRecords(FolderVarsOf(state)));
    if (!values)
        return;
    WriteValue(HKEY_CURRENT_USER, kSettingsKey, "UnInstall Info", REG_BINARY, values->info.data(),
               static_cast<DWORD>(values->info.size()));
    WriteValue(HKEY_CURRENT_USER, kSettingsKey, "UnInstall Data", REG_BINARY, values->data.data(),
               static_cast<DWORD>(values->data.size()));
}

}  // namespace

void CreateFolderChain(const char* path) {
    for (const std::string& folder : setup::FolderChain(path))
        CreateDirectoryA(folder.c_str(), nullptr);
}

void WriteKdm540Ini(const SetupState& state) {
    for (const setup::IniValue& value : setup::Kdm540IniValues(state.install, state.port))
        WritePrivateProfileStringA(value.section.c_str(), value.key.c_str(), value.value.c_str(), "KDM540.INI");
}

void BroadcastSettingChange(const char* section) {
    // A hung window must not stop the installation.
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(section), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
}

void ApplyProfileEdits(const SetupState& state) {
    char systemIni[MAX_PATH];
    std::snprintf(systemIni, sizeof systemIni, "%s\\SYSTEM.INI", state.windows);
    for (const setup::ProfileEdit& edit : setup::ResolveProfileEdits(FolderVarsOf(state), state.port)) {
        switch (edit.kind) {
        case setup::kProfileWinIni:
            WriteProfileStringA(edit.section.c_str(), edit.key.c_str(), edit.value.c_str());
            break;
        case setup::kProfileSystemIni:
            WritePrivateProfileStringA(edit.section.c_str(), edit.key.c_str(), edit.value.c_str(), systemIni);
            break;
        case setup::kProfilePrinterFolder:
            PrinterFoldarEntry(state.window, edit.key.c_str(), edit.value.c_str(), 0);
            break;
        }
        if (edit.broadcast)
            BroadcastSettingChange(edit.broadcastSection ? edit.section.c_str() : nullptr);
    }
}

void WriteRegistry(const SetupState& state) {
    for (const setup::RegistryValue& value : setup::RegistryValues(state.install)) {
        const char* name = value.name.empty() ? nullptr : value.name.c_str();
        DWORD size = static_cast<DWORD>(value.data.size() + (value.binary ? 0 : 1));
        WriteValue(RootKey(value.root), value.subkey.c_str(), name, value.binary ? REG_BINARY : REG_SZ,
                   value.data.c_str(), size);
    }
    WriteUninstallData(state);
    BroadcastSettingChange(nullptr);
}
