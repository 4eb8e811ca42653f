#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "viewer/core/SmhFormat.h"

// What the spooler makes of one listed copy, and the pending send-log line it leaves for the log viewer.

enum class CopyCheck { kValid, kTooShort, kWrongFormat, kNoPages, kBadPage };

// A copy is sendable when its header is an SMH header with pages and every page it counts can be found within
// the file. The Viewer's refusal of kind-2 documents whose pages are all marked is an opening rule for
// documents, not a property of the bytes: every send copy has kind 2, so it is not applied here.
CopyCheck CheckSmhCopy(const std::vector<uint8_t>& bytes, SmhFileHeader& header);

// The print copy carries kind 3; it goes to the device's printer, not down the line, so it is no send.
inline constexpr uint16_t kSmhPrintKind = 3;

struct LocalTime {
    int year, month, day, hour, minute, second;  // month 1..12
};

// "Jan.05,1999 14:03:27".
std::string FormatLogDate(const LocalTime& t);

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

// Name, else number, with quotes and control bytes removed: the header comes from outside, and a quote would
// double on writing and could push the line past the reader's line limit.
std::string DestinationFromHeader(const SmhFileHeader& header);

// The eight fields, each cut to its log maximum without splitting a double-byte character.
std::array<std::string, 8> SendRecordFields(const SendJob& job);

// One log line: fields holding a comma or quote are quoted with quotes doubled, "," between, "\n" at the end.
std::string FormatLogLine(const std::array<std::string, 8>& fields);
