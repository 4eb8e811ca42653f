#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The logs' date form "Jan.05,1999 14:03:27" (local time, month names case-sensitive).

struct LogDateTime {
    int year, month, day, hour, minute, second;  // month 1..12
};

// Walks the text as the logs' readers do: "." ends the month, "," the day, a space the year (only there), ":"
// the hour and then the minute; other bytes and the second byte of a double-byte character are ignored. Fails
// when a token is empty or the month is not one of the twelve names.
std::optional<LogDateTime> ParseLogDate(std::string_view text);

std::string FormatLogDate(const LogDateTime& t);

// Seconds since 1970 of a calendar time taken as UTC: local times compare and subtract correctly with it, and
// daylight saving never applies (as the logs' rule wants).
int64_t LogDateSeconds(const LogDateTime& t);

// A new record's date `added` against a listed one `listed`: +1 when listed is earlier, -1 when added is earlier,
// 0 when equal or either fails to parse.
int CompareLogDates(std::string_view added, std::string_view listed);

// Parses and is not earlier than `now` minus 30 days.
bool IsRecentLogDate(std::string_view text, const LogDateTime& now);
