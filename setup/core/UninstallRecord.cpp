#include "setup/core/UninstallRecord.h"

#include <algorithm>
#include <cstring>

#include "setup/core/InstallPaths.h"
#include "setup/core/InstallTables.h"

namespace setup {

namespace {

constexpr size_t kPathAt = 2;
constexpr size_t kSectionAt = 130;
constexpr size_t kRootAt = 156;
constexpr size_t kKeyAt = 160;

bool Put(uint8_t* record, size_t at, size_t chars, const std::string& text) {
    if (text.size() > chars)
        return false;
    std::memcpy(record + at, text.data(), text.size());
    return true;
}

std::string Get(const uint8_t* record, size_t at, size_t chars) {
    const char* text = reinterpret_cast<const char*>(record + at);
    return std::string(text, strnlen(text, chars + 1));
}

UninstallRecord Record(uint16_t type, std::string path) {
    return {type, std::move(path), {}, 0, {}};
}

}  // namespace

bool EncodeUninstallRecord(const UninstallRecord& record, uint8_t out[kUninstallRecordSize]) {
    std::memset(out, 0, kUninstallRecordSize);
    out[0] = static_cast<uint8_t>(record.type);
    out[1] = static_cast<uint8_t>(record.type >> 8);
    if (!Put(out, kPathAt, kUninstallPathChars, record.path))
        return false;
    if (record.type == kUninstallIniEntry)
        return Put(out, kSectionAt, kUninstallSectionChars, record.section) &&
               Put(out, kKeyAt, kUninstallKeyChars, record.key);
    if (record.type == kUninstallRegistryKey) {
        for (int i = 0; i < 4; ++i)
            out[kRootAt + i] = static_cast<uint8_t>(record.root >> (8 * i));
    }
    return true;
}

UninstallRecord DecodeUninstallRecord(const uint8_t in[kUninstallRecordSize]) {
    UninstallRecord record;
    record.type = static_cast<uint16_t>(in[0] | in[1] << 8);
    record.path = Get(in, kPathAt, kUninstallPathChars);
    if (record.type == kUninstallIniEntry) {
        record.section = Get(in, kSectionAt, kUninstallSectionChars);
        record.key = Get(in, kKeyAt, kUninstallKeyChars);
    } else if (record.type == kUninstallRegistryKey) {
        for (int i = 0; i < 4; ++i)
            record.root |= static_cast<uint32_t>(in[kRootAt + i]) << (8 * i);
    }
    return record;
}

std::vector<UninstallRecord> BuildUninstallRecords(const FolderVars& vars) {
    std::vector<UninstallRecord> records;
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        const InstallFileEntry& row = kInstallFiles[i];
        if (!row.uninstall)
            continue;
        RowPaths paths = ResolveRow(row, vars);
        if (paths.destination.empty())
            records.push_back(Record(kUninstallFolder, paths.folder));
        else
            records.push_back(Record(kUninstallFile, paths.destination));
    }
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        if (kInstallFiles[i].uninstall) {
            for (const ShortcutPlace& place : RowShortcuts(kInstallFiles[i], vars))
                records.push_back(Record(kUninstallFile, place.file));
        }
    }
    records.push_back(Record(kUninstallFolder, GroupFolder(vars)));
    for (size_t i = 0; i < kProfileEditCount; ++i) {
        if (!kProfileEdits[i].format)
            records.push_back(Record(kUninstallIniSection, kProfileEdits[i].section));
    }
    const std::string winIni = vars.windows + "\\win.ini";
    records.push_back({kUninstallIniEntry, winIni, "Devices", 0, "LUMENPOST Fax"});
    records.push_back({kUninstallIniEntry, winIni, "PrinterPorts", 0, "LUMENPOST Fax"});
    records.push_back({kUninstallIniEntry, winIni, "LUMENPOST Fax", 0, ""});
    records.push_back(Record(kUninstallFile, vars.windows + "\\KDM540.INI"));
    records.push_back({kUninstallRegistryKey,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\ORVEX Kdm-540",
                       {},
                       kLocalMachine,
                       {}});
    records.push_back({kUninstallRegistryKey, ".smh", {}, kClassesRoot, {}});
    records.push_back({kUninstallRegistryKey, "Viewer.Document", {}, kClassesRoot, {}});
    records.push_back({kUninstallRegistryKey, "Software\\Orvex\\mirolo", {}, kCurrentUser, {}});
    return records;
}

size_t UninstallCapacity() {
    size_t count = 5;
    bool group = false;
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        const InstallFileEntry& row = kInstallFiles[i];
        count += row.uninstall ? 1 : 0;
        for (uint16_t flag : {kShortcutGroup, kShortcutDesktop, kShortcutStartup})
            count += (row.shortcutFlags & flag) ? 1 : 0;
        group = group || (row.shortcutFlags & kShortcutGroup);
    }
    count += group ? 1 : 0;
    for (size_t i = 0; i < kProfileEditCount; ++i)
        count += kProfileEdits[i].kind == kProfilePrinterFolder ? 4 : 1;
    return count;
}

std::optional<UninstallValues> EncodeUninstallValues(const std::vector<UninstallRecord>& records) {
    if (records.size() > UninstallCapacity() || records.size() > 0xFFFF)
        return std::nullopt;
    UninstallValues values;
    values.info.assign(kUninstallInfoSize, 0);
    values.info[0] = static_cast<uint8_t>(records.size());
    values.info[1] = static_cast<uint8_t>(records.size() >> 8);
    values.data.assign(records.size() * kUninstallRecordSize, 0);
    for (size_t i = 0; i < records.size(); ++i) {
        if (!EncodeUninstallRecord(records[i], values.data.data() + i * kUninstallRecordSize))
            return std::nullopt;
    }
    return values;
}

std::vector<UninstallRecord> DecodeUninstallValues(const std::vector<uint8_t>& info, const std::vector<uint8_t>& data) {
    std::vector<UninstallRecord> records;
    if (info.size() < 2)
        return records;
    size_t count = std::min<size_t>(info[0] | info[1] << 8, data.size() / kUninstallRecordSize);
    for (size_t i = 0; i < count; ++i)
        records.push_back(DecodeUninstallRecord(data.data() + i * kUninstallRecordSize));
    return records;
}

}  // namespace setup
