#include "companions/kdmspl/core/SendRecord.h"

#include <cstdio>

#include "framework/core/Mbcs.h"
#include "viewer/core/MemorySmhSource.h"

namespace {
constexpr size_t kFieldMax[8] = {64, 7, 3, 25, 4, 64, 256, 2};

std::string Cut(const std::string& text, size_t limit) {
    return text.substr(0, FittingLength(text, limit));
}

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
    // Each page header is at least 48 bytes, so a count beyond that many cannot be right; this also bounds the walk.
    if (header.PageCount() > bytes.size() / kSmhPageHeaderSize)
        return CopyCheck::kBadPage;
    for (uint32_t n = 1; n <= header.PageCount(); ++n) {
        if (!LocateSmhPage(source, header, n))
            return CopyCheck::kBadPage;
    }
    return CopyCheck::kValid;
}

std::string FormatLogDate(const LocalTime& t) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = (t.month >= 1 && t.month <= 12) ? t.month : 1;
    char text[48];
    snprintf(text, sizeof text, "%s.%02d,%04d %02d:%02d:%02d", kMonths[month - 1], t.day, t.year, t.hour, t.minute,
             t.second);
    return text;
}

std::string DestinationFromHeader(const SmhFileHeader& header) {
    std::string name = Cleaned(header.DestName());
    return name.empty() ? Cleaned(header.DestNumber()) : name;
}

std::array<std::string, 8> SendRecordFields(const SendJob& job) {
    std::array<std::string, 8> fields = {
        job.destination,
        job.sent ? kResultSent : kResultFailed,
        "0",
        FormatLogDate(job.taken),
        std::to_string(job.pages > 9999 ? 9999 : job.pages),  // the field holds 4 digits
        job.remark,
        job.documentName,
        "0"};
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = Cut(fields[i], kFieldMax[i]);
    return fields;
}

std::string FormatLogLine(const std::array<std::string, 8>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += ',';
        const std::string& f = fields[i];
        if (f.find_first_of(",\"") == std::string::npos) {
            line += f;
            continue;
        }
        line += '"';
        for (size_t j = 0; j < f.size();) {
            const size_t n = CharLength(f, j);
            if (n == 1 && f[j] == '"')
                line += '"';
            line.append(f, j, n);
            j += n;
        }
        line += '"';
    }
    line += '\n';
    return line;
}
