// Lines of an untrusted "Addr.csv": parsing never overruns, fields keep their limits and whole characters, and
// what is written back reads back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/core/AddressLine.h"
#include "framework/core/Mbcs.h"

namespace {
void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

bool WholeCharacters(const std::string& field, size_t limit) {
    return field.size() <= limit && FittingLength(field, limit) == field.size();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    size_t position = 0;
    std::string line;
    while (NextAddressLine(file, position, line)) {
        Check(line.size() <= kAddressLineLimit);
        const AddressEntry entry = ParseAddressLine(line);
        Check(WholeCharacters(entry.name, kAddressTextLimit));
        Check(WholeCharacters(entry.phone, kAddressPhoneLimit));
        Check(WholeCharacters(entry.address, kAddressTextLimit));
        Check(WholeCharacters(entry.remarks, kAddressTextLimit));
        Check(ParseAddressLine(FormatAddressLine(entry)) == entry);
    }
    return 0;
}
