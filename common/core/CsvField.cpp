#include "common/core/CsvField.h"

#include "framework/core/Mbcs.h"

namespace {
bool NeedsQuotes(std::string_view field) {
    for (size_t i = 0; i < field.size(); i += CharLength(field, i)) {
        if (CharLength(field, i) == 1 && (field[i] == ',' || field[i] == '"'))
            return true;
    }
    return false;
}
}  // namespace

void AppendCsvField(std::string& line, std::string_view field) {
    if (!NeedsQuotes(field)) {
        line += field;
        return;
    }
    line += '"';
    for (size_t i = 0; i < field.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(field[i])) && i + 1 < field.size()) {
            line.append(field.data() + i, 2);
            ++i;
            continue;
        }
        if (field[i] == '"')
            line += '"';
        line += field[i];
    }
    line += '"';
}
