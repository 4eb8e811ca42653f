#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/LogDate.h"
#include "common/core/LogRecord.h"
#include "common/core/SmhFormat.h"

// What the receive monitor makes of one reception. There is no modem: a sample fax document stands for what
// came down the line, and everything after that (the stored document, the pending receive record) is real.

enum class SampleCheck { kValid, kTooShort, kWrongFormat, kNoPages, kRefused, kBadPage };

// A sample is stored only when the Viewer would open it: an SMH header it accepts, and every page it counts
// present within the file.
SampleCheck CheckSampleFax(const std::vector<uint8_t>& bytes, SmhFileHeader& header);

// Sample documents are the folder's "*.smh" files, played back in name order (file systems list in their own).
bool IsSampleName(std::string_view name);
std::vector<std::string> SampleOrder(std::vector<std::string> names);

// "R20261201093012.smh" for the first attempt, then "R20261201093012_1.smh" and on, for when a name is taken:
// two faxes in one second must not overwrite each other.
std::string ReceivedFaxName(const LogDateTime& received, int attempt);
// The pending receive record, "R20261201093012.CSV", numbered the same way.
std::string PendingRecordName(const LogDateTime& received, int attempt);

// The calling station as its document names it: station name, else station number, else `fallback`. Quotes and
// control bytes are dropped (the header comes from outside; a quote would double on writing and a line break
// would split the record), and so are leading spaces, which a reader would skip.
std::string SenderFromHeader(const SmhFileHeader& header, std::string_view fallback);

inline constexpr std::string_view kReceivedResult = "OK";

struct Reception {
    std::string sender;
    uint32_t pages = 0;
    LogDateTime received{};
    std::string documentName;  // in the received-fax folder
};

// A new, unread record: sender, "OK", the reception time in the log date form, pages (at most the four digits
// the field holds), the document's name and read flag 0.
ReceiveLogRecord ReceiveRecordFor(const Reception& reception);

// The pending file's content: the record's line, ending in CR LF as a text-mode writer leaves it.
std::string PendingRecordText(const ReceiveLogRecord& record);
