#include "viewer/dib/core/PackedDibLayout.h"

#include <algorithm>
#include <limits>

#include "common/core/ByteOrder.h"

namespace {
constexpr size_t kCoreWidth = 4;
constexpr size_t kCoreHeight = 6;
constexpr size_t kCoreBitCount = 10;
constexpr size_t kInfoWidth = 4;
constexpr size_t kInfoHeight = 8;
constexpr size_t kInfoBitCount = 14;
constexpr size_t kInfoCompression = 16;
constexpr size_t kInfoClrUsed = 32;

constexpr uint32_t kCoreEntrySize = 3;
constexpr uint32_t kInfoEntrySize = 4;
constexpr uint32_t kMaskBytes = 12;

uint16_t Field16(DibBytes dib, size_t offset) {
    return offset + 2 <= dib.size() ? ReadLe16(dib.data() + offset) : 0;
}

uint32_t Field32(DibBytes dib, size_t offset) {
    return offset + 4 <= dib.size() ? ReadLe32(dib.data() + offset) : 0;
}

uint32_t ClrUsed(DibBytes dib) {
    return IsDibCoreHeader(dib) ? 0 : Field32(dib, kInfoClrUsed);
}

uint32_t EntrySize(DibBytes dib) {
    return IsDibCoreHeader(dib) ? kCoreEntrySize : kInfoEntrySize;
}

bool IsKnownBitCount(uint16_t bits, bool core) {
    switch (bits) {
    case 1:
    case 4:
    case 8:
    case 24:
        return true;
    case 16:
    case 32:
        return !core;
    default:
        return false;
    }
}

bool FitsCompression(uint32_t compression, uint16_t bits) {
    switch (compression) {
    case kDibRgb:
        return true;
    case kDibRle8:
        return bits == 8;
    case kDibRle4:
        return bits == 4;
    case kDibBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}
}  // namespace

uint32_t DibHeaderSize(DibBytes dib) {
    return Field32(dib, 0);
}

bool IsDibCoreHeader(DibBytes dib) {
    return DibHeaderSize(dib) == kDibCoreHeaderSize;
}

uint16_t DibBitCount(DibBytes dib) {
    return Field16(dib, IsDibCoreHeader(dib) ? kCoreBitCount : kInfoBitCount);
}

uint32_t DibCompression(DibBytes dib) {
    return IsDibCoreHeader(dib) ? kDibRgb : Field32(dib, kInfoCompression);
}

uint16_t DibNumColors(DibBytes dib) {
    if (uint32_t used = ClrUsed(dib))
        return static_cast<uint16_t>(used);
    switch (DibBitCount(dib)) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

uint32_t DibPaletteSize(DibBytes dib) {
    return DibNumColors(dib) * EntrySize(dib);
}

uint32_t DibPaletteSizeMasks(DibBytes dib) {
    uint32_t colors = static_cast<uint16_t>(ClrUsed(dib));
    uint16_t bits = DibBitCount(dib);
    if (colors == 0 && bits <= 8)
        colors = 1u << bits;
    uint32_t size = colors * EntrySize(dib);
    if (!IsDibCoreHeader(dib) && DibCompression(dib) == kDibBitFields)
        size += kMaskBytes;
    return size;
}

uint64_t DibBitsOffset(DibBytes dib) {
    return uint64_t{DibHeaderSize(dib)} + DibPaletteSize(dib);
}

int32_t DibWidth(DibBytes dib) {
    return IsDibCoreHeader(dib) ? Field16(dib, kCoreWidth) : static_cast<int32_t>(Field32(dib, kInfoWidth));
}

int32_t DibHeight(DibBytes dib) {
    return IsDibCoreHeader(dib) ? Field16(dib, kCoreHeight) : static_cast<int32_t>(Field32(dib, kInfoHeight));
}

DibRgb DibColor(DibBytes dib, uint32_t index) {
    const uint64_t offset = DibHeaderSize(dib) + uint64_t{index} * EntrySize(dib);
    if (offset + 3 > dib.size())
        return {};
    const uint8_t* entry = dib.data() + offset;
    return {entry[2], entry[1], entry[0]};
}

uint64_t DibRowsSize(uint32_t bitCount, uint32_t width, uint32_t height) {
    uint64_t rowBytes = (uint64_t{bitCount} * width + 31) / 32 * 4;
    if (height != 0 && rowBytes > std::numeric_limits<uint64_t>::max() / height)
        return std::numeric_limits<uint64_t>::max();
    return rowBytes * height;
}

uint64_t DibImageSize(DibBytes dib) {
    uint32_t compression = DibCompression(dib);
    if (compression == kDibRle8 || compression == kDibRle4)
        return Field32(dib, kDibSizeImageOffset);
    return DibRowsSize(DibBitCount(dib), static_cast<uint32_t>(DibWidth(dib)), static_cast<uint32_t>(DibHeight(dib)));
}

bool IsValidPackedDib(DibBytes dib) {
    const bool core = IsDibCoreHeader(dib);
    const uint64_t headerSize = DibHeaderSize(dib);
    if (!core && headerSize < kDibInfoHeaderSize)
        return false;
    if (headerSize > dib.size())
        return false;
    const int32_t width = DibWidth(dib);
    const int32_t height = DibHeight(dib);
    const uint16_t bits = DibBitCount(dib);
    const uint32_t compression = DibCompression(dib);
    if (width <= 0 || height <= 0 || !IsKnownBitCount(bits, core) || !FitsCompression(compression, bits))
        return false;
    // The routines count colours in 16 bits; a larger biClrUsed would put the pixel rows where GDI does not look.
    const uint32_t used = ClrUsed(dib);
    if (used > (bits <= 8 ? 1u << bits : 0xFFFFu))
        return false;
    const bool runLength = compression == kDibRle8 || compression == kDibRle4;
    if (runLength && DibImageSize(dib) == 0)
        return false;
    if (DibRowsSize(bits, static_cast<uint32_t>(width), static_cast<uint32_t>(height)) > kMaxPackedDibSize)
        return false;
    // Painting finds the rows after DibPaletteSize, the plain stretch after DibPaletteSizeMasks: both must fit.
    const uint64_t table = std::max(DibPaletteSize(dib), DibPaletteSizeMasks(dib));
    const uint64_t total = headerSize + table + DibImageSize(dib);
    return total <= kMaxPackedDibSize && total <= dib.size();
}
