#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The uninstall data: fixed 188-byte records that Setup stores in the suite's settings key and the uninstaller
// reads back, in the order the uninstaller removes things.
namespace setup {

struct FolderVars;

enum UninstallType : uint16_t {
    kUninstallRegistryKey = 2,
    kUninstallIniEntry = 4,
    kUninstallFile = 8,
    kUninstallFolder = 16,
    kUninstallIniSection = 32,
};

enum RootKey : uint32_t {
    kClassesRoot = 0x80000000u,
    kCurrentUser = 0x80000001u,
    kLocalMachine = 0x80000002u,
};

constexpr size_t kUninstallRecordSize = 188;
constexpr size_t kUninstallInfoSize = 10;
// Characters each field holds before its terminator.
constexpr size_t kUninstallPathChars = 127;
constexpr size_t kUninstallSectionChars = 29;
constexpr size_t kUninstallKeyChars = 27;

struct UninstallRecord {
    uint16_t type = 0;
    std::string path;     // file, folder, INI file, registry subkey or section name
    std::string section;  // INI entry
    uint32_t root = 0;    // registry key
    std::string key;      // INI entry; empty means the whole section
};

// False when a text does not fit its field; nothing is cut.
bool EncodeUninstallRecord(const UninstallRecord& record, uint8_t out[kUninstallRecordSize]);
// Fields are read up to their terminator or the field's end, whichever comes first.
UninstallRecord DecodeUninstallRecord(const uint8_t in[kUninstallRecordSize]);

// The records of an installation, in the order they are stored.
std::vector<UninstallRecord> BuildUninstallRecords(const FolderVars& vars);
// Records the shipped tables can produce at most: the size of the buffer the records are built in.
size_t UninstallCapacity();

// "UnInstall Info" (the count) and "UnInstall Data" (the records back to back); nullopt when a record does not
// fit its fields.
struct UninstallValues {
    std::vector<uint8_t> info;
    std::vector<uint8_t> data;
};
std::optional<UninstallValues> EncodeUninstallValues(const std::vector<UninstallRecord>& records);
// The records of stored values; a count beyond the data's size reads only the whole records there.
std::vector<UninstallRecord> DecodeUninstallValues(const std::vector<uint8_t>& info, const std::vector<uint8_t>& data);

}  // namespace setup
