#pragma once
#include <string>

#include "common/core/LogDate.h"

// A fixed "now" for logs whose content must not depend on the day the test runs.
inline constexpr LogDateTime kSampleLogNewest{2026, 12, 8, 9, 0, 0};

// For tests and benchmarks: a "receive.csv" of `rows` lines as the log viewer writes it (code page 936, CR LF),
// newest first, one reception every `spacingSeconds` back from `newest`; every third unread. `variant` changes
// every sender, so two variants are logs of the same size that differ throughout.
std::string SampleReceiveLog(int rows, const LogDateTime& newest, int spacingSeconds = 60, int variant = 0);

// A date `seconds` before `t`, in the logs' calendar.
LogDateTime LogDateBefore(const LogDateTime& t, int64_t seconds);
