#pragma once
#include <cstdint>
#include <span>

// Layout of a packed device-independent bitmap: a header (the 12-byte core header when its first word says 12,
// else an info header of at least 40 bytes), the colour table, then the pixel rows. Fields are little-endian.
// A field that lies beyond the given bytes reads as 0, so no routine here reads past its span; only
// IsValidPackedDib tells whether the rest of the layout really is there.

using DibBytes = std::span<const uint8_t>;

inline constexpr uint32_t kDibCoreHeaderSize = 12;
inline constexpr uint32_t kDibInfoHeaderSize = 40;

inline constexpr uint32_t kDibRgb = 0;
inline constexpr uint32_t kDibRle8 = 1;
inline constexpr uint32_t kDibRle4 = 2;
inline constexpr uint32_t kDibBitFields = 3;

// Offset of biSizeImage in the info header.
inline constexpr size_t kDibSizeImageOffset = 20;

// GDI counts pixel rows and offsets in signed 32-bit values; a bitmap beyond that is damaged, not large.
inline constexpr uint64_t kMaxPackedDibSize = 0x7FFFFFFF;

uint32_t DibHeaderSize(DibBytes dib);
bool IsDibCoreHeader(DibBytes dib);
uint16_t DibBitCount(DibBytes dib);
uint32_t DibCompression(DibBytes dib);  // always kDibRgb for the core header

// biClrUsed when non-zero, else 2, 16 or 256 for 1, 4 or 8 bits, else 0; the count is 16-bit.
uint16_t DibNumColors(DibBytes dib);
// Colour table bytes: 4 per entry after an info header, 3 after a core header.
uint32_t DibPaletteSize(DibBytes dib);
// As DibPaletteSize, but with 2^bitcount entries for every bit count up to 8 when biClrUsed is 0, and 12 more
// bytes for the three masks of an info header with bit-field compression.
uint32_t DibPaletteSizeMasks(DibBytes dib);
// Header size + DibPaletteSize.
uint64_t DibBitsOffset(DibBytes dib);
int32_t DibWidth(DibBytes dib);
int32_t DibHeight(DibBytes dib);

struct DibRgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const DibRgb&) const = default;
};
// Entry `index` of the colour table (stored blue, green, red), black when it lies beyond the bytes.
DibRgb DibColor(DibBytes dib, uint32_t index);

// Bytes of `height` rows of `width` pixels, each row padded to 32 bits; saturates instead of overflowing.
uint64_t DibRowsSize(uint32_t bitCount, uint32_t width, uint32_t height);
// Pixel bytes: biSizeImage for the run-length compressions, else the padded rows of the header's size.
uint64_t DibImageSize(DibBytes dib);

// Whether the bytes hold a bitmap the routines can work on: a known header kind, positive dimensions, a bit
// count of 1, 4, 8, 16, 24 or 32 (1, 4, 8 or 24 for the core header) that fits its compression, a colour count
// the bit count allows, and header, colour table (with masks) and pixel rows all inside the span.
bool IsValidPackedDib(DibBytes dib);
