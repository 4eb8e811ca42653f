#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/core/LogRecord.h"
#include "framework/testing/TempFolder.h"
#include "common/core/SmhFormat.h"

// What the monitor's tests share: sample documents, the files a reception leaves and reading them back.

// A well-formed document of `pages` pages whose calling station is `stationName` / `stationNumber`.
std::string SampleFax(uint32_t pages, const std::string& stationName, const std::string& stationNumber = "");

// A field of a record read back (the record kinds' field enums hide the accessor's name).
inline const std::string& FieldText(const LogRecord& record, size_t field) {
    return record.Field(field);
}

// A pending receive record file read as the log viewer reads it: every line, parsed.
std::vector<ReceiveLogRecord> ReadPendingRecords(const std::string& path);

// "R" and fourteen digits, then `extension`, optionally with "_<n>" before it.
bool IsStampedName(const std::string& name, const std::string& extension);

// The local time now, in seconds as the log dates count them.
int64_t NowSeconds();
