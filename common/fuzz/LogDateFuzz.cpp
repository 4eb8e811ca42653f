// Dates from untrusted logs: parsing never overruns, and a date that parses formats back to a text that parses
// to the same time.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/core/LogDate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto t = ParseLogDate(text);
    if (t) {
        const auto again = ParseLogDate(FormatLogDate(*t));
        if (!again || LogDateSeconds(*again) != LogDateSeconds(*t))
            __builtin_trap();
    }
    IsRecentLogDate(text, {2026, 12, 8, 9, 0, 0});
    CompareLogDates(text, "Jan.05,1999 14:03:27");
    return 0;
}
