#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/core/ByteOrder.h"

// Packed bitmaps laid out by hand, independently of the routines under test, sized exactly so that a read past
// the end shows under AddressSanitizer.
struct InfoDibFields {
    int32_t width = 8;
    int32_t height = 4;
    uint16_t bitCount = 1;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    uint32_t headerSize = 40;
};

inline size_t TestTableBytes(const InfoDibFields& f) {
    size_t entries = f.clrUsed ? f.clrUsed : (f.bitCount <= 8 ? size_t{1} << f.bitCount : 0);
    return entries * 4 + (f.compression == 3 ? 12 : 0);
}

inline size_t TestPixelBytes(const InfoDibFields& f) {
    if (f.compression == 1 || f.compression == 2)
        return f.sizeImage;
    if (f.width <= 0 || f.height <= 0)
        return 0;
    return (static_cast<size_t>(f.bitCount) * static_cast<size_t>(f.width) + 31) / 32 * 4 *
           static_cast<size_t>(f.height);
}

// Header, colour table and rows; table and rows hold a running pattern so that copies can be compared.
inline std::vector<uint8_t> MakeInfoDib(const InfoDibFields& f) {
    // Headers claiming fewer than 40 bytes still get all the fields, to show that the claim itself is refused.
    std::vector<uint8_t> dib(std::max<size_t>(40, f.headerSize + TestTableBytes(f) + TestPixelBytes(f)));
    WriteLe32(&dib[0], f.headerSize);
    WriteLe32(&dib[4], static_cast<uint32_t>(f.width));
    WriteLe32(&dib[8], static_cast<uint32_t>(f.height));
    WriteLe16(&dib[12], 1);
    WriteLe16(&dib[14], f.bitCount);
    WriteLe32(&dib[16], f.compression);
    WriteLe32(&dib[20], f.sizeImage);
    WriteLe32(&dib[32], f.clrUsed);
    for (size_t i = f.headerSize; i < dib.size(); ++i)
        dib[i] = static_cast<uint8_t>(i * 7 + 3);
    return dib;
}

inline std::vector<uint8_t> MakeCoreDib(uint16_t width, uint16_t height, uint16_t bitCount) {
    size_t entries = bitCount <= 8 ? size_t{1} << bitCount : 0;
    size_t rows = (size_t{bitCount} * width + 31) / 32 * 4 * height;
    std::vector<uint8_t> dib(12 + entries * 3 + rows);
    WriteLe32(&dib[0], 12);
    WriteLe16(&dib[4], width);
    WriteLe16(&dib[6], height);
    WriteLe16(&dib[8], 1);
    WriteLe16(&dib[10], bitCount);
    for (size_t i = 12; i < dib.size(); ++i)
        dib[i] = static_cast<uint8_t>(i * 5 + 1);
    return dib;
}
