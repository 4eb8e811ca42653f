#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Page images with rows top-down, as a reader and the decoder see them, each padded to a multiple of 4 bytes as a
// BMP file pads them: going in and out of a (bottom-up) BMP image is one row-by-row copy.
namespace kdm {

// Percent done, 0..100; the last call of a finished operation reports 100.
using ProgressFn = std::function<void(unsigned percent)>;

inline size_t BmpStride(uint32_t width, unsigned bitsPerPixel) {
    return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// 1 bit per pixel, most significant bit leftmost, bit set = black (colour table entry 1).
struct BilevelImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bits;

    BilevelImage() = default;
    BilevelImage(uint32_t w, uint32_t h) : width(w), height(h), bits(BmpStride(w, 1) * h) {}

    size_t Stride() const { return BmpStride(width, 1); }
    // y counts from the top of the page.
    uint8_t* Row(uint32_t y) { return bits.data() + y * Stride(); }
    const uint8_t* Row(uint32_t y) const { return bits.data() + y * Stride(); }
    bool Black(uint32_t x, uint32_t y) const { return (Row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
    void SetBlack(uint32_t x, uint32_t y) { Row(y)[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7)); }

    bool operator==(const BilevelImage&) const = default;
};

// 8 bits per pixel, grey level 0 (black) .. 255 (white), with a 256-entry grey colour table.
struct GreyImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bits;

    GreyImage() = default;
    GreyImage(uint32_t w, uint32_t h) : width(w), height(h), bits(BmpStride(w, 8) * h) {}

    size_t Stride() const { return BmpStride(width, 8); }
    uint8_t* Row(uint32_t y) { return bits.data() + y * Stride(); }
    const uint8_t* Row(uint32_t y) const { return bits.data() + y * Stride(); }
};

}  // namespace kdm
