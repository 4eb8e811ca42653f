#pragma once
#include <windows.h>

#include <string>

#include "common/core/LogRecord.h"

// The read mark the log viewer applies to "receive.csv" the next time it shows the receive list: the record's
// line with read flag "1" in a file "BR%Y%m%d%H%M%S.CSV" of the scratch folder, named by the local time.

// The mark's file name for `time`. A `suffix` above 0 ("BR20261208093012_1.CSV") tells apart marks written
// within the same second; every name still matches "BR*.CSV".
std::string ReadMarkName(const SYSTEMTIME& time, unsigned suffix = 0);

// Writes the mark for `record` as a new file, never over an earlier mark. Failures are told in message boxes
// owned by `owner` ("不能打开文件 %1", "不能关闭文件 %1") and stop nothing. Returns the path of the file
// written, empty when none could be created.
std::string WriteReadMark(HWND owner, const LogRecord& record, const std::string& tempFolder, const SYSTEMTIME& time);
