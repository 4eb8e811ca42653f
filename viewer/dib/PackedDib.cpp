#include "viewer/dib/PackedDib.h"

#include "common/core/ByteOrder.h"
#include "viewer/dib/core/PackedDibLayout.h"

namespace {
DibBytes HeaderBytes(const void* header) {
    if (!header)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(header);
    return {bytes, ReadLe32(bytes) == kDibCoreHeaderSize ? kDibCoreHeaderSize : kDibInfoHeaderSize};
}
}  // namespace

WORD DibNumColors(const void* header) {
    return DibNumColors(HeaderBytes(header));
}

DWORD DibPaletteSize(const void* header) {
    return DibPaletteSize(HeaderBytes(header));
}

DWORD DibPaletteSizeMasks(const void* header) {
    return DibPaletteSizeMasks(HeaderBytes(header));
}

const BYTE* DibBits(const void* header) {
    if (!header)
        return nullptr;
    return static_cast<const BYTE*>(header) + static_cast<size_t>(DibBitsOffset(HeaderBytes(header)));
}

LONG DibWidth(const void* header) {
    return DibWidth(HeaderBytes(header));
}

LONG DibHeight(const void* header) {
    return DibHeight(HeaderBytes(header));
}
