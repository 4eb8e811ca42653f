#include "viewer/dib/core/BmpImage.h"

#include <algorithm>

#include "common/core/ByteOrder.h"

namespace {
enum FileOffset : size_t { kType = 0, kFileSize = 2, kOffBits = 10 };

// The colour table is counted with the masks of a bit-field image, which sit between header and rows:
// otherwise the copy would lose its last rows and bfOffBits would point at the masks.
uint64_t RowsOffset(DibBytes dib) {
    return uint64_t{DibHeaderSize(dib)} + DibPaletteSizeMasks(dib);
}

uint64_t PackedSize(DibBytes dib) {
    return RowsOffset(dib) + DibImageSize(dib);
}
}  // namespace

uint64_t BmpImageSize(DibBytes dib) {
    if (DibHeaderSize(dib) != kDibInfoHeaderSize || !IsValidPackedDib(dib))
        return 0;
    return kBmpFileHeaderSize + PackedSize(dib);
}

void WriteBmpFileHeader(DibBytes dib, std::span<uint8_t, kBmpFileHeaderSize> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    out[kType] = 'B';
    out[kType + 1] = 'M';
    WriteLe32(&out[kFileSize], static_cast<uint32_t>(kBmpFileHeaderSize + PackedSize(dib)));
    WriteLe32(&out[kOffBits], static_cast<uint32_t>(kBmpFileHeaderSize + RowsOffset(dib)));
}

void WriteBmpImage(DibBytes dib, std::span<uint8_t> out) {
    const auto packedSize = static_cast<size_t>(PackedSize(dib));
    WriteBmpFileHeader(dib, out.first<kBmpFileHeaderSize>());
    uint8_t* packed = out.data() + kBmpFileHeaderSize;
    std::copy_n(dib.data(), packedSize, packed);
    WriteLe32(packed + kDibSizeImageOffset, static_cast<uint32_t>(DibImageSize(dib)));
}
