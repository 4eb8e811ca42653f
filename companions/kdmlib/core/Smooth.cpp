#include "companions/kdmlib/core/Smooth.h"

#include <array>
#include <vector>

namespace kdm {
namespace {

unsigned Luminance(const BmpColour& c) {
    return (299u * c.red + 587u * c.green + 114u * c.blue + 500) / 1000;
}

// 1-2-1 sums across one row, 0..4 per pixel; entries 0 and width + 1 of `pixels` are the margin.
void SumAcross(const BilevelImage& page, uint32_t y, std::vector<uint8_t>& pixels, std::vector<uint8_t>& sums) {
    const uint8_t* row = page.Row(y);
    for (uint32_t x = 0; x < page.width; ++x) {
        pixels[x + 1] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    for (uint32_t x = 0; x < page.width; ++x) {
        sums[x] = static_cast<uint8_t>(pixels[x] + 2 * pixels[x + 1] + pixels[x + 2]);
    }
}

}  // namespace

GreyImage SmoothPage(const BilevelImage& page, const BilevelColours& colours, const ProgressFn& progress) {
    GreyImage grey(page.width, page.height);
    const int from = static_cast<int>(Luminance(colours[0]));
    const int to = static_cast<int>(Luminance(colours[1]));
    std::array<uint8_t, 17> shade;
    for (int weight = 0; weight <= 16; ++weight) {
        shade[weight] = static_cast<uint8_t>(from + ((to - from) * weight + (to > from ? 8 : -8)) / 16);
    }

    std::vector<uint8_t> pixels(page.width + 2, 0);
    std::vector<uint8_t> above(page.width, 0), current(page.width, 0), below(page.width, 0);
    if (page.height > 0) {
        SumAcross(page, 0, pixels, current);
    }
    unsigned reported = 101;
    for (uint32_t y = 0; y < page.height; ++y) {
        if (y + 1 < page.height) {
            SumAcross(page, y + 1, pixels, below);
        } else {
            std::fill(below.begin(), below.end(), 0);
        }
        uint8_t* out = grey.Row(y);
        for (uint32_t x = 0; x < page.width; ++x) {
            out[x] = shade[above[x] + 2 * current[x] + below[x]];
        }
        above.swap(current);
        current.swap(below);
        const unsigned percent = static_cast<unsigned>(uint64_t{y} * 100 / page.height);
        if (progress && percent != reported) {
            progress(percent);
            reported = percent;
        }
    }
    if (progress) {
        progress(100);
    }
    return grey;
}

}  // namespace kdm
