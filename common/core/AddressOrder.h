#pragma once
#include <cstddef>
#include <string_view>

#include "common/core/AddressRecord.h"

// Where a new entry goes in an address list: the list is kept in name order as far as entries are added by hand,
// rows loaded from the file keep the file's order.

inline constexpr size_t kAddressListLimit = 10000;

// Orders code page 936 text character by character, a double-byte character as one value (lead byte first), so
// single-byte characters come before double-byte ones. Negative, zero or positive.
int CompareMbcs(std::string_view a, std::string_view b);

enum class AddressPlacement {
    kFull,     // the list holds kAddressListLimit rows: nothing may be added or replaced
    kInsert,   // a new row at `index`
    kReplace,  // the row at `index` has the same name and phone: ask, then overwrite it
};

struct AddressPlace {
    AddressPlacement placement;
    size_t index;
};

// `rowAt(i)` gives the record of row i of `count`. Without the check the row is appended; with it, it goes after
// every row whose name is smaller or equal and before the first greater one, unless a row has the same name and
// the same phone.
template <typename RowAt>
AddressPlace PlaceAddress(size_t count, RowAt rowAt, std::string_view name, std::string_view phone, bool check) {
    if (count >= kAddressListLimit)
        return {AddressPlacement::kFull, count};
    if (!check)
        return {AddressPlacement::kInsert, count};
    for (size_t i = 0; i < count; ++i) {
        const AddressRecord& row = rowAt(i);
        const int order = CompareMbcs(row.name, name);
        if (order > 0)
            return {AddressPlacement::kInsert, i};
        if (order == 0 && phone == row.phone)
            return {AddressPlacement::kReplace, i};
    }
    return {AddressPlacement::kInsert, count};
}
