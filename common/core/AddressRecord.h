#pragma once
#include <cstddef>
#include <string_view>

// One address book entry as list rows keep it and as the phone book library hands it out: four zero-terminated
// text fields in 228 bytes, phone at 0, name at 33, address at 98, remarks at 163.
struct AddressRecord {
    static constexpr size_t kPhoneSize = 33;
    static constexpr size_t kTextSize = 65;

    char phone[kPhoneSize] = {};
    char name[kTextSize] = {};
    char address[kTextSize] = {};
    char remarks[kTextSize] = {};

    // Sets all four fields; a null source empties its field. Longer texts are cut to the field on a character
    // boundary, so a field never ends in half a double-byte character.
    void Set(const char* newPhone, const char* newName, const char* newAddress, const char* newRemarks);
    // Copies the fields whose destination is given; each destination holds at least its field's size.
    void CopyOut(char* toPhone, char* toName, char* toAddress, char* toRemarks) const;
};

static_assert(sizeof(AddressRecord) == 228);
static_assert(offsetof(AddressRecord, name) == 33);
static_assert(offsetof(AddressRecord, address) == 98);
static_assert(offsetof(AddressRecord, remarks) == 163);

// Copies `text` into a field of `size` bytes, cut on a character boundary, and zero-fills the rest.
void SetAddressField(char* field, size_t size, std::string_view text);
