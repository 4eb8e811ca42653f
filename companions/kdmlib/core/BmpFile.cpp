#include "companions/kdmlib/core/BmpFile.h"

#include <cstring>

namespace kdm {
namespace {

// Larger than any fax page at any resolution; keeps width * height arithmetic far from overflow.
constexpr int64_t kMaxDimension = 65535;
constexpr size_t kBilevelTableSize = 2 * 4;
constexpr size_t kGreyTableSize = 256 * 4;

uint32_t ReadU32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void WriteU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}
void WriteU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// Both headers; returns where the colour table starts.
uint8_t* WriteHeaders(uint8_t* p,
                      uint32_t width,
                      uint32_t height,
                      uint16_t bitCount,
                      size_t tableSize,
                      size_t pixelBytes,
                      uint32_t colourCount) {
    const size_t offBits = kBmpFileHeaderSize + kBmpInfoHeaderSize + tableSize;
    std::memset(p, 0, offBits);
    p[0] = 'B';
    p[1] = 'M';
    WriteU32(p + 2, static_cast<uint32_t>(offBits + pixelBytes));
    WriteU32(p + 10, static_cast<uint32_t>(offBits));
    uint8_t* info = p + kBmpFileHeaderSize;
    WriteU32(info, kBmpInfoHeaderSize);
    WriteU32(info + 4, width);
    WriteU32(info + 8, height);
    WriteU16(info + 12, 1);
    WriteU16(info + 14, bitCount);
    WriteU32(info + 20, static_cast<uint32_t>(pixelBytes));
    // 200 x 200 dpi in pixels per metre, the resolution of a fine fax page.
    WriteU32(info + 24, 7874);
    WriteU32(info + 28, 7874);
    WriteU32(info + 32, colourCount);
    WriteU32(info + 36, colourCount);
    return info + kBmpInfoHeaderSize;
}

template <typename Image>
void WriteRowsBottomUp(const Image& image, uint8_t* out) {
    const size_t stride = image.Stride();
    for (uint32_t y = image.height; y-- > 0; out += stride) {
        std::memcpy(out, image.Row(y), stride);
    }
}

}  // namespace

size_t BilevelBmpSize(const BilevelImage& image) {
    return kBmpFileHeaderSize + kBmpInfoHeaderSize + kBilevelTableSize + image.bits.size();
}

size_t GreyBmpSize(const GreyImage& image) {
    return kBmpFileHeaderSize + kBmpInfoHeaderSize + kGreyTableSize + image.bits.size();
}

void WriteBilevelBmp(const BilevelImage& image, const BilevelColours& colours, std::span<uint8_t> out) {
    uint8_t* table = WriteHeaders(out.data(), image.width, image.height, 1, kBilevelTableSize, image.bits.size(), 2);
    for (const BmpColour& c : colours) {
        *table++ = c.blue;
        *table++ = c.green;
        *table++ = c.red;
        *table++ = 0;
    }
    WriteRowsBottomUp(image, table);
}

void WriteGreyBmp(const GreyImage& image, std::span<uint8_t> out) {
    uint8_t* table = WriteHeaders(out.data(), image.width, image.height, 8, kGreyTableSize, image.bits.size(), 256);
    for (unsigned level = 0; level < 256; ++level) {
        *table++ = static_cast<uint8_t>(level);
        *table++ = static_cast<uint8_t>(level);
        *table++ = static_cast<uint8_t>(level);
        *table++ = 0;
    }
    WriteRowsBottomUp(image, table);
}

std::vector<uint8_t> BilevelBmpFile(const BilevelImage& image, const BilevelColours& colours) {
    std::vector<uint8_t> file(BilevelBmpSize(image));
    WriteBilevelBmp(image, colours, file);
    return file;
}

std::optional<BilevelBmp> ReadBilevelBmp(std::span<const uint8_t> bmp) {
    const size_t tableOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize;
    if (bmp.size() < tableOffset + kBilevelTableSize || bmp[0] != 'B' || bmp[1] != 'M') {
        return std::nullopt;
    }
    const uint8_t* info = bmp.data() + kBmpFileHeaderSize;
    const int64_t width = static_cast<int32_t>(ReadU32(info + 4));
    const int64_t height = static_cast<int32_t>(ReadU32(info + 8));
    const uint32_t colourCount = ReadU32(info + 32);
    if (ReadU32(info) != kBmpInfoHeaderSize || ReadU16(info + 12) != 1 || ReadU16(info + 14) != 1 ||
        ReadU32(info + 16) != 0 || (colourCount != 0 && colourCount != 2)) {
        return std::nullopt;
    }
    const int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || width > kMaxDimension || rows == 0 || rows > kMaxDimension) {
        return std::nullopt;
    }
    const size_t offBits = ReadU32(bmp.data() + 10);
    const size_t stride = BmpStride(static_cast<uint32_t>(width), 1);
    const size_t pixelBytes = stride * static_cast<size_t>(rows);
    if (offBits < tableOffset + kBilevelTableSize || offBits > bmp.size() || bmp.size() - offBits < pixelBytes) {
        return std::nullopt;
    }
    BilevelBmp result;
    const uint8_t* table = bmp.data() + tableOffset;
    for (BmpColour& c : result.colours) {
        c = {table[0], table[1], table[2]};
        table += 4;
    }
    result.image = BilevelImage(static_cast<uint32_t>(width), static_cast<uint32_t>(rows));
    const uint8_t* pixels = bmp.data() + offBits;
    if (height < 0) {
        std::memcpy(result.image.bits.data(), pixels, pixelBytes);
    } else {
        for (uint32_t y = 0; y < rows; ++y) {
            std::memcpy(result.image.Row(static_cast<uint32_t>(rows) - 1 - y), pixels + y * stride, stride);
        }
    }
    return result;
}

}  // namespace kdm
