#include "common/core/LogLine.h"

#include "framework/core/Mbcs.h"

namespace {
bool IsLead(char c) {
    return IsLeadByte(static_cast<unsigned char>(c));
}
}  // namespace

void ParseLogLine(std::string_view line, LogRecord& record, size_t fileLimit) {
    const LogLayout& layout = record.Layout();
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    const size_t last = layout.fieldCount - 1;
    auto store = [&](size_t index, std::string_view text) {
        if (index == layout.fileField && fileLimit != 0 && fileLimit < layout.limits[index])
            text = text.substr(0, FittingLength(text, fileLimit));
        record.SetWholeField(index, text);
    };
    for (size_t i = 0; i < layout.fieldCount; ++i)
        record.SetField(i, {});

    std::string current;
    current.reserve(line.size());
    size_t field = 0;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsLead(c)) {
            if (i + 1 < line.size())  // a lead byte that ends the line is no character
                current.append(line.data() + i, 2);
            ++i;
        } else if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ',' && !quoted) {
            if (field < last) {
                store(field++, current);
                current.clear();
            }
        } else if (c != ' ' || !current.empty()) {
            current += c;
        }
    }
    store(last, current);
}

bool IsLogHeader(const LogRecord& record, std::string_view firstTitle) {
    return record.Field(0) == firstTitle || record.Date() == kLogDateTitle;
}
