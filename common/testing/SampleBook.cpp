#include "common/testing/SampleBook.h"

#include "common/core/AddressLine.h"

namespace {
// Code page 936 bytes, spelt out so the data does not depend on the compiler's character set.
const char* const kSurnames[] = {"\xD5\xC5", "\xCD\xF5", "\xC0\xEE", "\xD5\xD4", "\xB3\xC2", "\xC1\xF5"};
const char* const kGivenNames[] = {"\xCE\xB0", "\xB7\xBC", "\xC4\xC8", "\xBE\xB2", "\xD1\xF3", "\xC3\xF4"};
const char* const kCities[] = {"\xBA\xBC\xD6\xDD\xCA\xD0", "\xC9\xCF\xBA\xA3\xCA\xD0", "\xB1\xB1\xBE\xA9\xCA\xD0"};
const char* const kStreet = "\xCE\xF7\xBA\xFE\xC7\xF8\xCE\xC4\xC8\xFD\xC2\xB7";  // 西湖区文三路
const char* const kExtension = "\xB7\xD6\xBB\xFA ";                              // 分机
const char* const kRemarks[] = {"", "\xB3\xA3\xC1\xAA\xCF\xB5", "\"\xBC\xB1\xBC\xFE\", \xC7\xEB\xB1\xEA\xD7\xA2"};
}  // namespace

std::string SampleAddressBook(int entries, int variant) {
    std::string book;
    book.reserve(static_cast<size_t>(entries) * 72);
    for (int i = 0; i < entries; ++i) {
        AddressEntry entry;
        entry.name = std::string(kSurnames[i % 6]) + kGivenNames[(i / 6) % 6] + std::to_string(i);
        entry.phone = "0571-" + std::to_string(80000000 + i * 7 + variant * 13);
        entry.address = std::string(kCities[i % 3]) + kStreet + " " + std::to_string(i % 900 + 1) + " \xBA\xC5 " +
                        std::to_string(i % 20 + 1) + " \xC2\xA5";  // 号, 楼
        entry.remarks = std::string(kRemarks[i % 3]) + kExtension + std::to_string(i % 1000);
        AppendTextModeOutput(book, FormatAddressLine(entry));
    }
    return book;
}
