#include "common/core/LogRecord.h"

#include <climits>

#include "common/core/CsvField.h"
#include "framework/core/Mbcs.h"

namespace {
constexpr LogLayout kSendLayout = {LogKind::kSend,
                                   8,
                                   {64, 7, 3, 25, 4, 64, 256, 2},
                                   {false, false, true, false, true, false, false, true},
                                   3,
                                   4,
                                   6,
                                   7,
                                   474,
                                   kSendFirstTitle,
                                   "send.csv",
                                   'S'};

constexpr LogLayout kReceiveLayout = {LogKind::kReceive,
                                      6,
                                      {32, 7, 25, 4, 256, 2},
                                      {false, false, false, true, false, true},
                                      2,
                                      3,
                                      4,
                                      5,
                                      375,
                                      kReceiveFirstTitle,
                                      "receive.csv",
                                      'R'};
}  // namespace

const LogLayout& SendLogLayout() {
    return kSendLayout;
}

const LogLayout& ReceiveLogLayout() {
    return kReceiveLayout;
}

const LogLayout& LayoutOf(LogKind kind) {
    return kind == LogKind::kSend ? kSendLayout : kReceiveLayout;
}

int32_t LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int32_t>(value);
}

bool IsSentResult(std::string_view result) {
    return result.size() >= 2 && (result[0] == 'O' || result[0] == 'o') && (result[1] == 'K' || result[1] == 'k');
}

void LogRecord::SetField(size_t index, std::string_view text) {
    std::string& field = m_fields[index];
    field.assign(text.substr(0, FittingLength(text, m_layout->limits[index])));
    m_numbers[index] = m_layout->numeric[index] ? LeadingNumber(field) : 0;
}

void LogRecord::SetWholeField(size_t index, std::string_view text) {
    const size_t limit = m_layout->limits[index];
    if (text.size() > limit) {
        SetField(index, text);
        return;
    }
    m_fields[index].assign(text);
    m_numbers[index] = m_layout->numeric[index] ? LeadingNumber(text) : 0;
}

void LogRecord::Set(std::span<const std::string_view> texts) {
    for (size_t i = 0; i < m_layout->fieldCount; ++i)
        SetField(i, i < texts.size() ? texts[i] : std::string_view());
    KeepLineReadable();
}

// A field of many double quotes doubles on writing; a line past the reader's limit would come back as two
// records. Such text comes only from outside programs, so its quotes become apostrophes instead.
void LogRecord::KeepLineReadable() {
    if (FormatLogLine(*this).size() < m_layout->lineLimit)
        return;
    for (size_t i = 0; i < m_layout->fieldCount; ++i) {
        std::string& field = m_fields[i];
        for (size_t k = 0; k < field.size(); k += CharLength(field, k)) {
            if (field[k] == '"')
                field[k] = '\'';
        }
    }
}

bool LogRecord::NeedsAttention() const {
    if (Kind() == LogKind::kReceive)
        return !IsRead();
    return !IsSentResult(m_fields[1]);
}

bool LogRecord::operator==(const LogRecord& other) const {
    return m_layout == other.m_layout && m_fields == other.m_fields;
}

std::string FormatLogLine(const LogRecord& record, bool asRead) {
    const LogLayout& layout = record.Layout();
    std::string line;
    line.reserve(480);
    for (size_t i = 0; i < layout.fieldCount; ++i) {
        if (i != 0)
            line += ',';
        AppendCsvField(line, asRead && i == layout.readField ? std::string_view("1") : record.Field(i));
    }
    line += '\n';
    return line;
}
