#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "common/core/TextModeLines.h"

// Lines of "Addr.csv": name, phone, address, remarks joined by commas, in code page 936. A field holding a comma
// or a double quote is enclosed in double quotes with its quotes doubled; a lead byte always takes the byte after
// it, which is therefore never a quote or a comma.

inline constexpr size_t kAddressPhoneLimit = 32;
inline constexpr size_t kAddressTextLimit = 64;
// Lines are read in pieces of at most this many bytes; a longer physical line gives several.
inline constexpr size_t kAddressLineLimit = 511;

struct AddressEntry {
    std::string name;
    std::string phone;
    std::string address;
    std::string remarks;
    bool operator==(const AddressEntry&) const = default;
};

// Splits one line (a trailing line feed is dropped). Up to three unquoted commas end the name, phone and address;
// later ones are dropped; the last field the line reaches is the remarks. Fields are cut to their limits on a
// character boundary, and a lead byte that ends the line alone is dropped, so nothing read can corrupt the file
// when it is written back.
AddressEntry ParseAddressLine(std::string_view line);

std::string QuoteAddressField(std::string_view field);
// The written form of an entry, ending in a line feed.
std::string FormatAddressLine(const AddressEntry& entry);

// A box's text as a dialog reads it back: at most `limit` bytes of whole characters. A box keeps its own limit
// only against typing; a text set by a program can be longer.
std::string LimitedBoxText(std::string_view text, size_t limit);

// The four texts of an entry as read back, each cut to its box's limit (phone 32 bytes, the others 64).
AddressEntry LimitedEntry(const AddressEntry& boxes);

// The column headings of the program reading the book; a line with any field equal to its heading is a header.
struct AddressHeadings {
    std::string_view name;
    std::string_view phone;
    std::string_view address;
    std::string_view remarks;
};
bool IsAddressHeading(const AddressEntry& entry, const AddressHeadings& headings);

// Reads the next line of the book in pieces of at most kAddressLineLimit bytes. False at the end of the data.
inline bool NextAddressLine(std::string_view data, size_t& position, std::string& line) {
    return NextTextModeLine(data, position, kAddressLineLimit, line);
}
