#include "common/core/AddressRecord.h"

#include <cstring>

#include "framework/core/Mbcs.h"

void SetAddressField(char* field, size_t size, std::string_view text) {
    const size_t length = FittingLength(text, size - 1);
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

void AddressRecord::Set(const char* newPhone, const char* newName, const char* newAddress, const char* newRemarks) {
    SetAddressField(phone, sizeof phone, newPhone ? newPhone : "");
    SetAddressField(name, sizeof name, newName ? newName : "");
    SetAddressField(address, sizeof address, newAddress ? newAddress : "");
    SetAddressField(remarks, sizeof remarks, newRemarks ? newRemarks : "");
}

void AddressRecord::CopyOut(char* toPhone, char* toName, char* toAddress, char* toRemarks) const {
    if (toPhone)
        std::memcpy(toPhone, phone, sizeof phone);
    if (toName)
        std::memcpy(toName, name, sizeof name);
    if (toAddress)
        std::memcpy(toAddress, address, sizeof address);
    if (toRemarks)
        std::memcpy(toRemarks, remarks, sizeof remarks);
}
