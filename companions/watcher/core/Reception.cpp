#include "companions/watcher/core/Reception.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/core/LogLine.h"
#include "common/core/TextModeLines.h"
#include "framework/core/Mbcs.h"
#include "framework/core/TextFormat.h"
#include "common/core/MemorySmhSource.h"

namespace {
constexpr uint32_t kMaxPagesText = 9999;  // the page field holds four digits

std::string Stamped(const LogDateTime& t, int attempt, const char* extension) {
    char text[64];
    snprintf(text, sizeof text, "R%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    std::string name = text;
    if (attempt > 0)
        name += "_" + std::to_string(attempt);
    return name + extension;
}

std::string Cleaned(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const size_t n = CharLength(text, i);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (n == 2)
            out.append(text, i, 2);
        else if (c > 0x20 && c != '"' && c != 0x7F)
            out += text[i];
        else if (c == ' ' && !out.empty())
            out += ' ';
        i += n;
    }
    return out;
}
}  // namespace

SampleCheck CheckSampleFax(const std::vector<uint8_t>& bytes, SmhFileHeader& header) {
    CMemorySmhSource source(bytes);
    const auto read = ReadSmhFileHeader(source);
    if (!read)
        return SampleCheck::kTooShort;
    header = *read;
    switch (CheckSmhHeader(header)) {
    case SmhHeaderCheck::kWrongFormat:
        return SampleCheck::kWrongFormat;
    case SmhHeaderCheck::kNoPages:
        return SampleCheck::kNoPages;
    case SmhHeaderCheck::kRefused:
        return SampleCheck::kRefused;
    case SmhHeaderCheck::kValid:
        break;
    }
    return AllSmhPagesPresent(source, header) ? SampleCheck::kValid : SampleCheck::kBadPage;
}

bool IsSampleName(std::string_view name) {
    constexpr std::string_view kExtension = ".smh";
    if (name.size() <= kExtension.size())
        return false;
    return LowerAscii(name).ends_with(kExtension);
}

std::vector<std::string> SampleOrder(std::vector<std::string> names) {
    std::erase_if(names, [](const std::string& name) { return !IsSampleName(name); });
    // Case folded, as the file system compares names; the plain order breaks ties so the order is total.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string fa = LowerAscii(a), fb = LowerAscii(b);
        return fa != fb ? fa < fb : a < b;
    });
    return names;
}

std::string ReceivedFaxName(const LogDateTime& received, int attempt) {
    return Stamped(received, attempt, ".smh");
}

std::string PendingRecordName(const LogDateTime& received, int attempt) {
    return Stamped(received, attempt, ".CSV");
}

std::string SenderFromHeader(const SmhFileHeader& header, std::string_view fallback) {
    std::string sender = Cleaned(header.StationName());
    if (sender.empty())
        sender = Cleaned(header.StationNumber());
    return sender.empty() ? std::string(fallback) : sender;
}

ReceiveLogRecord ReceiveRecordFor(const Reception& reception) {
    const std::string date = FormatLogDate(reception.received);
    const std::string pages = std::to_string(std::min(reception.pages, kMaxPagesText));
    const std::array<std::string_view, 6> fields = {
        reception.sender, kReceivedResult, date, pages, reception.documentName, "0"};
    ReceiveLogRecord record;
    record.Set(fields);
    return record;
}

std::string PendingRecordText(const ReceiveLogRecord& record) {
    std::string text;
    AppendTextModeOutput(text, FormatLogLine(record));
    return text;
}
