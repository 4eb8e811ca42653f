#include "dialdir/core/DialNumber.h"

#include "framework/core/Mbcs.h"

std::optional<DialKey> FindDialKey(std::string_view caption) {
    for (const DialKey& key : kDialKeys) {
        if (key.caption == caption)
            return key;
    }
    return std::nullopt;
}

std::optional<char> DialKeyPress(const DialKey& key, std::string_view phone) {
    if (LimitedBoxText(phone, kAddressPhoneLimit).size() >= kAddressPhoneLimit)
        return std::nullopt;
    return key.typed;
}

NewEntryCheck CheckNewEntry(const AddressEntry& typed) {
    const AddressEntry entry = LimitedEntry(typed);
    if (entry.name.empty())
        return NewEntryCheck::kNoName;
    if (entry.phone.empty())
        return NewEntryCheck::kNoPhone;
    return NewEntryCheck::kComplete;
}

std::optional<AddressRecord> TypedDestination(const AddressEntry& typed) {
    const AddressEntry entry = LimitedEntry(typed);
    if (entry.phone.empty())
        return std::nullopt;
    AddressRecord record;
    record.Set(entry.phone.c_str(), entry.name.c_str(), entry.address.c_str(), entry.remarks.c_str());
    return record;
}
