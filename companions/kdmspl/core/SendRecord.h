#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/core/LogDate.h"
#include "common/core/LogLine.h"
#include "common/core/LogRecord.h"
#include "common/core/SmhFormat.h"

// What the spooler makes of one listed copy, and the pending send-log line it leaves for the log viewer.

enum class CopyCheck { kValid, kTooShort, kWrongFormat, kNoPages, kBadPage };

// A copy is sendable when its header is an SMH header with pages and every page it counts can be found within
// the file. The Viewer's refusal of kind-2 documents whose pages are all marked is an opening rule for
// documents, not a property of the bytes: every send copy has kind 2, so it is not applied here.
CopyCheck CheckSmhCopy(const std::vector<uint8_t>& bytes, SmhFileHeader& header);

// The print copy carries kind 3; it goes to the device's printer, not down the line, so it is no send.
inline constexpr uint16_t kSmhPrintKind = 3;

// The moment a job is taken, local time as the log records it.
using LocalTime = LogDateTime;

// One send job as the log records it. Fields the spooler can fill honestly: the destination from the copy's
// header (name, else number), the header's page count, the time the job was taken and the document it keeps.
// The dial-attempt count stays 0: without a modem nothing was dialled. The read flag is 0, a new record.
struct SendJob {
    bool sent = false;
    std::string destination;
    uint32_t pages = 0;
    LocalTime taken{};
    std::string remark;
    std::string documentName;  // in the received-fax folder; empty when there is no document to open
};

inline constexpr const char* kResultSent = "OK";
inline constexpr const char* kResultFailed = "ERROR";

// A copy that names no number to dial (no digit in its destination number) goes nowhere: a modem would dial
// nothing and the job fail.
bool HasNumberToDial(const SmhFileHeader& header);

// Name, else number, with quotes and control bytes removed: the header comes from outside, and a quote would
// double on writing and could push the line past the reader's line limit.
std::string DestinationFromHeader(const SmhFileHeader& header);

// The job's new, unread send record: destination, "OK" or "ERROR", dial attempts 0, the time taken in the log
// date form, pages (at most the four digits the field holds), remark, document and read flag 0. The record cuts
// each field to its log maximum; FormatLogLine writes it.
SendLogRecord SendRecordFields(const SendJob& job);
