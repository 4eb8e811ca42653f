// Lines of an untrusted log or pending file: parsing never overruns, fields keep their limits and whole
// characters, what is written back reads back the same as one line, and read marks never touch read records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/core/LogLine.h"
#include "common/core/LogList.h"
#include "framework/core/Mbcs.h"

namespace {
void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

void CheckLines(std::string_view file, const LogLayout& layout) {
    LogList list(layout, {2026, 12, 8, 9, 0, 0});
    size_t position = 0;
    std::string line;
    while (NextLogLine(file, position, layout, line)) {
        Check(line.size() < layout.lineLimit);
        LogRecord record(layout);
        ParseLogLine(line, record);
        for (size_t i = 0; i < layout.fieldCount; ++i) {
            const std::string& field = record.Field(i);
            Check(field.size() <= layout.limits[i] && FittingLength(field, layout.limits[i]) == field.size());
        }
        const std::string written = FormatLogLine(record);
        if (written.size() < layout.lineLimit) {
            LogRecord again(layout);
            ParseLogLine(written, again);
            Check(again == record);
        }
        list.Insert(record, LogInsertMode::kByDate);
    }
    list.InsertLines(file, LogInsertMode::kAppend);
    const ptrdiff_t marked = list.ApplyReadMark(file.substr(0, file.find('\n')));
    Check(marked < 0 || list.At(static_cast<size_t>(marked)).IsRead());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    CheckLines(file, SendLogLayout());
    CheckLines(file, ReceiveLogLayout());
    return 0;
}
