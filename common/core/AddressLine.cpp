#include "common/core/AddressLine.h"

#include "common/core/CsvField.h"
#include "framework/core/Mbcs.h"

namespace {
bool IsLead(char c) {
    return IsLeadByte(static_cast<unsigned char>(c));
}

std::string Cut(std::string&& field, size_t limit) {
    field.resize(FittingLength(field, limit));
    return std::move(field);
}
}  // namespace

AddressEntry ParseAddressLine(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    AddressEntry entry;
    std::string current;
    int field = 0;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsLead(c)) {
            if (i + 1 < line.size())
                current.append(line.substr(i, 2));
            ++i;
        } else if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == ',' && !quoted) {
            switch (field) {
            case 0:
                entry.name = Cut(std::move(current), kAddressTextLimit);
                break;
            case 1:
                entry.phone = Cut(std::move(current), kAddressPhoneLimit);
                break;
            case 2:
                entry.address = Cut(std::move(current), kAddressTextLimit);
                break;
            default:
                continue;  // the remarks take the rest of the line
            }
            current.clear();
            ++field;
        } else {
            current += c;
        }
    }
    entry.remarks = Cut(std::move(current), kAddressTextLimit);
    return entry;
}

std::string QuoteAddressField(std::string_view field) {
    std::string written;
    AppendCsvField(written, field);
    return written;
}

std::string FormatAddressLine(const AddressEntry& entry) {
    return QuoteAddressField(entry.name) + ',' + QuoteAddressField(entry.phone) + ',' +
           QuoteAddressField(entry.address) + ',' + QuoteAddressField(entry.remarks) + '\n';
}

bool IsAddressHeading(const AddressEntry& entry, const AddressHeadings& headings) {
    return entry.name == headings.name || entry.phone == headings.phone || entry.address == headings.address ||
           entry.remarks == headings.remarks;
}

std::string LimitedBoxText(std::string_view text, size_t limit) {
    return std::string(text.substr(0, FittingLength(text, limit)));
}

AddressEntry LimitedEntry(const AddressEntry& boxes) {
    return {LimitedBoxText(boxes.name, kAddressTextLimit), LimitedBoxText(boxes.phone, kAddressPhoneLimit),
            LimitedBoxText(boxes.address, kAddressTextLimit), LimitedBoxText(boxes.remarks, kAddressTextLimit)};
}
