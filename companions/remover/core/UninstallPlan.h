#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/core/UninstallRecord.h"

// What the uninstaller makes of the stored uninstall data before it touches anything: whether the values hold
// the records they claim, which records it may act on, and which files a folder record leaves to the user.
namespace remover {

enum class DataFault {
    kNone,
    kNoCount,          // "UnInstall Info" too short to hold the count
    kNoRecords,        // a count of zero
    kCountBeyondData,  // "UnInstall Data" holds fewer whole records than the count
};

struct UninstallData {
    DataFault fault = DataFault::kNone;
    std::vector<setup::UninstallRecord> records;  // empty unless there is no fault
};

// The largest value worth reading: 65535 records, the most a 16-bit count can claim.
constexpr size_t kMaxValueSize = 0xFFFF * setup::kUninstallRecordSize;

// Damaged data yields no records at all: removing only some of what a list known to be wrong names could leave
// an installation that can neither run nor be uninstalled again.
UninstallData ReadUninstallData(const std::vector<uint8_t>& info, const std::vector<uint8_t>& data);

// A record the uninstaller may act on: a known type with the fields that type needs; files, folders and INI
// files by an absolute path that names something below a drive or share root, with no "." or ".." in it;
// registry keys with a subkey under one of the three roots Setup writes to.
bool IsUsableRecord(const setup::UninstallRecord& record);

// The user's own files, which a folder record leaves in place: the address book and the logs (*.csv) and
// received faxes (*.smh). Setup records none of them.
bool IsUserDataFile(std::string_view name);

// The folder of a path (what comes before its last separator); empty when there is none. Only a whole single-byte "\"
// separates: in code page 936 a trail byte may be 0x5C.
std::string FolderOf(std::string_view path);

// The path without separators at its end.
std::string WithoutTrailingSeparators(std::string_view path);

}  // namespace remover
