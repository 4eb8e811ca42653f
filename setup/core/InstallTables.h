#pragma once
#include <cstddef>
#include <cstdint>

// What Setup installs, as compiled-in tables. The receive monitor, the uninstaller and the programs rely on the
// names, places and order below.
namespace setup {

// Destination base of a row: the code without its two low bits; the low bits are modifiers.
enum FolderCode : uint16_t {
    kFolderInstall = 0x0400,
    kFolderDrivers = 0x0800,  // system folder\DRIVERS
    kFolderTwain16 = 0x1000,  // Windows folder\TWAIN
    kFolderTwain32 = 0x2000,  // Windows folder\Twain_32
    kFolderSystem = 0x4000,
    kFolderWindows = 0x8000,
    kFolderSubfolder = 0x0001,  // append "\" + the row's subfolder
    kFolderOnly = 0x0002,       // with no installed name, the row is the folder itself
};

enum ShortcutFlags : uint16_t {
    kShortcutGroup = 0x2000,
    kShortcutStartup = 0x4000,
    kShortcutDesktop = 0x8000,
};

struct InstallFileEntry {
    uint32_t compressed;
    uint16_t disk;  // 0 ends the table
    uint16_t reserved;
    const char* installedName;  // null for a folder row
    const char* sourceName;
    const char* subfolder;
    uint16_t folderCode;
    uint16_t shortcutFlags;
    const char* shortcutName;
    uint32_t showCommand;  // 1 normal, 7 minimised without activation
    int16_t iconIndex;
    const char* argumentTemplate;
    uint32_t run;
    uint32_t copy;
    uint32_t uninstall;
    uint32_t keep;  // an existing destination is left as it is
};

// 33 rows and the ending row with disk 0.
extern const InstallFileEntry kInstallFiles[];
constexpr size_t kInstallFileCount = 33;

enum ProfileKind : uint16_t {
    kProfileEnd = 0,
    kProfileWinIni = 1,
    kProfileSystemIni = 2,
    kProfilePrinterFolder = 255,
};

struct ProfileEditEntry {
    uint32_t device;  // nonzero: driver "KDMFX", else "KDMPD"
    uint32_t format;  // the value is a format taking the driver name (and the port for INI rows)
    uint16_t kind;
    const char* section;
    const char* key;
    const char* value;
    uint16_t code;  // 1/2 prefix Windows/system folder; 11/12 the same and broadcast; 10/13 broadcast only
};

// 4 rows and the ending row with kind 0.
extern const ProfileEditEntry kProfileEdits[];
constexpr size_t kProfileEditCount = 4;

}  // namespace setup
