#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/LogDate.h"
#include "common/core/LogRecord.h"

// The records of one log in list order, newest merged records first. Insertion applies the 10,000 capacity and
// the retention rule; the owner learns of a record dropped by retention so it can delete its document.

inline constexpr size_t kLogCapacity = 10000;
inline constexpr size_t kLogKeptRows = 100;  // at least this many rows always stay, whatever their age

enum class LogInsertMode { kAppend, kByDate };

class LogList {
public:
    using DropHandler = std::function<void(const LogRecord& dropped)>;

    LogList(const LogLayout& layout, LogDateTime now) : m_layout(&layout), m_now(now) {}

    const LogLayout& Layout() const { return *m_layout; }
    size_t Size() const { return m_records.size(); }
    const LogRecord& At(size_t i) const { return *m_records[i]; }
    LogRecord& At(size_t i) { return *m_records[i]; }

    // Called for every record the retention rule drops (not for one dropped by the capacity).
    void OnRetentionDrop(DropHandler handler) { m_onDrop = std::move(handler); }

    // Inserts a parsed record; returns the position it went to, or -1 when it was dropped.
    ptrdiff_t Insert(LogRecord record, LogInsertMode mode);
    // Parses every line of a file's bytes (headers skipped) and inserts the records. `progress` hears the
    // percentage of the bytes read whenever it changes.
    using Progress = std::function<void(int percent)>;
    void InsertLines(std::string_view data, LogInsertMode mode, const Progress& progress = {});

    void Remove(size_t i);
    void Clear() { m_records.clear(); }

    // The whole log as written: every record's line in list order, no header.
    std::string Format() const;

    // A read-mark file's first line: the first unread record whose read-marked line occurs within it is marked
    // read. Returns its index, or -1 when none matched.
    ptrdiff_t ApplyReadMark(std::string_view markLine);

private:
    size_t DatePosition(const LogRecord& record) const;

    const LogLayout* m_layout;
    LogDateTime m_now;
    DropHandler m_onDrop;
    std::vector<std::unique_ptr<LogRecord>> m_records;
};
