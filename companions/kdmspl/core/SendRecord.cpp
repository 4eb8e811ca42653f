#include "companions/kdmspl/core/SendRecord.h"

#include <algorithm>
#include <array>

#include "framework/core/Mbcs.h"
#include "common/core/MemorySmhSource.h"

namespace {
constexpr uint32_t kMaxPagesText = 9999;  // the page field holds four digits

std::string Cleaned(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const size_t n = CharLength(text, i);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (n == 2)
            out.append(text, i, 2);
        else if (c >= 0x20 && c != '"' && c != 0x7F)
            out += text[i];
        i += n;
    }
    return out;
}
}  // namespace

CopyCheck CheckSmhCopy(const std::vector<uint8_t>& bytes, SmhFileHeader& header) {
    CMemorySmhSource source(bytes);
    const auto read = ReadSmhFileHeader(source);
    if (!read)
        return CopyCheck::kTooShort;
    header = *read;
    switch (CheckSmhHeader(header)) {
    case SmhHeaderCheck::kWrongFormat:
        return CopyCheck::kWrongFormat;
    case SmhHeaderCheck::kNoPages:
        return CopyCheck::kNoPages;
    case SmhHeaderCheck::kValid:
    case SmhHeaderCheck::kRefused:
        break;
    }
    return AllSmhPagesPresent(source, header) ? CopyCheck::kValid : CopyCheck::kBadPage;
}

bool HasNumberToDial(const SmhFileHeader& header) {
    const std::string number = header.DestNumber();
    return std::any_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string DestinationFromHeader(const SmhFileHeader& header) {
    std::string name = Cleaned(header.DestName());
    return name.empty() ? Cleaned(header.DestNumber()) : name;
}

SendLogRecord SendRecordFields(const SendJob& job) {
    const std::string date = FormatLogDate(job.taken);
    const std::string pages = std::to_string(std::min(job.pages, kMaxPagesText));
    const std::array<std::string_view, 8> fields = {
        job.destination, job.sent ? kResultSent : kResultFailed, "0", date, pages, job.remark, job.documentName, "0"};
    SendLogRecord record;
    record.Set(fields);
    return record;
}
