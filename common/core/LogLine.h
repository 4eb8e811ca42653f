#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "common/core/LogRecord.h"
#include "common/core/TextModeLines.h"

// Reading one line of a log, pending record or read-mark file (FormatLogLine, beside the record, writes it).
// Fields are separated by commas; a field holding a comma or a double quote is enclosed in double quotes with its
// quotes doubled. A lead byte always takes the byte after it, which is therefore never a quote or a comma.

// Parses a line (one trailing line feed dropped) into all fields of `record`. Leading spaces of a field are
// skipped; commas beyond the last field join it; whatever follows the last field-ending comma is the read flag.
// `fileLimit` overrides the file-name field's maximum (the Viewer's list reads it one byte shorter); 0 keeps it.
void ParseLogLine(std::string_view line, LogRecord& record, size_t fileLimit = 0);

// A header line: field 0 equals the first column title of its kind, or the date field equals "日期/时间".
bool IsLogHeader(const LogRecord& record, std::string_view firstTitle);
inline bool IsLogHeader(const LogRecord& record) {
    return IsLogHeader(record, record.Layout().firstTitle);
}

// Reads the next line of a log's bytes in the pieces its reader's line buffer takes (at most lineLimit - 1
// bytes): the rest of a longer line is read as the next line.
inline bool NextLogLine(std::string_view data, size_t& position, const LogLayout& layout, std::string& line) {
    return NextTextModeLine(data, position, layout.lineLimit - 1, line);
}
