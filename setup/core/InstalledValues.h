#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "setup/core/InstallPaths.h"

// The settings Setup writes, as values: KDM540.INI, the profile edits and the registry values, in writing order.
namespace setup {

struct IniValue {
    std::string section;
    std::string key;
    std::string value;
};

// KDM540.INI as written when the user confirms the main dialog (port 1-3).
std::vector<IniValue> Kdm540IniValues(const std::string& install, int port);

struct ProfileEdit {
    uint16_t kind;        // ProfileKind
    std::string section;  // empty for the printer folder
    std::string key;      // the printer's name for the printer folder
    std::string value;    // the driver's path for the printer folder
    bool broadcast;
    bool broadcastSection;  // the notification names the section
};
std::vector<ProfileEdit> ResolveProfileEdits(const FolderVars& vars, int port);

struct RegistryValue {
    uint32_t root;  // RootKey
    std::string subkey;
    std::string name;  // empty: the key's default value
    bool binary;
    std::string data;  // text without its terminator, or the binary bytes
};
// Values 1-14 of the registry step (the uninstall data and the broadcast follow them).
std::vector<RegistryValue> RegistryValues(const std::string& install);

}  // namespace setup
