// Untrusted "UnInstall Info" and "UnInstall Data" values: reading never overruns, damaged values give no records,
// and every file or folder the uninstaller accepts lies in a folder below a root.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "companions/remover/core/UninstallPlan.h"

namespace {
void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}
}  // namespace

// The first byte splits the input: that many bytes (at most 16) of count value, the rest is the record data.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t infoSize = std::min<size_t>(data[0] % 17, size - 1);
    const std::vector<uint8_t> info(data + 1, data + 1 + infoSize);
    const std::vector<uint8_t> records(data + 1 + infoSize, data + size);
    const remover::UninstallData read = remover::ReadUninstallData(info, records);

    Check((read.fault == remover::DataFault::kNone) != read.records.empty());
    if (read.fault == remover::DataFault::kNone)
        Check(read.records.size() == static_cast<size_t>(info[0] | info[1] << 8));
    for (const setup::UninstallRecord& record : read.records) {
        Check(record.path.size() <= setup::kUninstallPathChars + 1);  // a field without its terminator
        const bool onDisk = record.type == setup::kUninstallFile || record.type == setup::kUninstallFolder;
        if (onDisk && remover::IsUsableRecord(record))
            Check(!remover::FolderOf(record.path).empty());
    }
    return 0;
}
