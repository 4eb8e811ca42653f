#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "companions/kdmlib/core/PageImages.h"

// BMP file images (14-byte file header, 40-byte info header, colour table, pixel rows), the form in which the image
// library takes and gives page images.
namespace kdm {

struct BmpColour {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    bool operator==(const BmpColour&) const = default;
};
using BilevelColours = std::array<BmpColour, 2>;
inline constexpr BilevelColours kWhiteOnBlack = {{{255, 255, 255}, {0, 0, 0}}};

struct BilevelBmp {
    BilevelImage image;
    BilevelColours colours = kWhiteOnBlack;
};

inline constexpr size_t kBmpFileHeaderSize = 14;
inline constexpr size_t kBmpInfoHeaderSize = 40;

size_t BilevelBmpSize(const BilevelImage& image);
size_t GreyBmpSize(const GreyImage& image);
// `out` must hold exactly the size above.
void WriteBilevelBmp(const BilevelImage& image, const BilevelColours& colours, std::span<uint8_t> out);
void WriteGreyBmp(const GreyImage& image, std::span<uint8_t> out);
std::vector<uint8_t> BilevelBmpFile(const BilevelImage& image, const BilevelColours& colours = kWhiteOnBlack);

// Reads an uncompressed 1-bit BMP image of `bmp.size()` bytes, bottom-up or top-down. Every size and offset is
// checked against that length before a pixel is read; anything else, or anything that does not fit, gives nothing.
std::optional<BilevelBmp> ReadBilevelBmp(std::span<const uint8_t> bmp);

}  // namespace kdm
