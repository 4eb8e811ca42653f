#include "common/core/LogList.h"

#include "common/core/LogLine.h"

size_t LogList::DatePosition(const LogRecord& record) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (CompareLogDates(record.Date(), m_records[i]->Date()) >= 0)
            return i;
    }
    return m_records.size();
}

ptrdiff_t LogList::Insert(LogRecord record, LogInsertMode mode) {
    if (m_records.size() >= kLogCapacity)
        return -1;
    const size_t position = mode == LogInsertMode::kAppend ? m_records.size() : DatePosition(record);
    if (position > kLogKeptRows && !IsRecentLogDate(record.Date(), m_now)) {
        if (m_onDrop)
            m_onDrop(record);
        return -1;
    }
    m_records.insert(m_records.begin() + static_cast<ptrdiff_t>(position),
                     std::make_unique<LogRecord>(std::move(record)));
    return static_cast<ptrdiff_t>(position);
}

void LogList::InsertLines(std::string_view data, LogInsertMode mode, const Progress& progress) {
    size_t position = 0;
    int shown = -1;
    std::string line;
    while (NextLogLine(data, position, *m_layout, line)) {
        LogRecord record(*m_layout);
        ParseLogLine(line, record);
        if (!IsLogHeader(record))
            Insert(std::move(record), mode);
        const int percent = static_cast<int>(position * 100 / data.size());
        if (progress && percent != shown) {
            shown = percent;
            progress(percent);
        }
    }
}

void LogList::Remove(size_t i) {
    m_records.erase(m_records.begin() + static_cast<ptrdiff_t>(i));
}

std::string LogList::Format() const {
    std::string text;
    text.reserve(m_records.size() * 96);
    for (const auto& record : m_records)
        text += FormatLogLine(*record);
    return text;
}

ptrdiff_t LogList::ApplyReadMark(std::string_view markLine) {
    // The mark's last line may lack its line feed; the record's line keeps it, so a mark never matches a record
    // whose line is only the start of the marked one.
    std::string mark(markLine);
    if (mark.empty() || mark.back() != '\n')
        mark += '\n';
    for (size_t i = 0; i < m_records.size(); ++i) {
        LogRecord& record = *m_records[i];
        if (record.IsRead())
            continue;
        if (mark.find(FormatLogLine(record, true)) != std::string::npos) {
            record.MarkRead();
            return static_cast<ptrdiff_t>(i);
        }
    }
    return -1;
}
