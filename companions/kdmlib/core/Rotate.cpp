#include "companions/kdmlib/core/Rotate.h"

namespace kdm {
namespace {

// Visits only the black pixels: a fax page is mostly white, so whole zero bytes are skipped.
template <typename Place>
void ForEachBlack(const BilevelImage& page, Place place) {
    const uint32_t fullBytes = page.width / 8;
    for (uint32_t y = 0; y < page.height; ++y) {
        const uint8_t* row = page.Row(y);
        for (uint32_t i = 0; i * 8 < page.width; ++i) {
            uint8_t byte = row[i];
            if (i == fullBytes) {
                byte &= static_cast<uint8_t>(0xFF00 >> (page.width & 7));  // padding bits are not pixels
            }
            for (; byte != 0; byte &= static_cast<uint8_t>(byte - 1)) {
                const unsigned lowest = static_cast<unsigned>(__builtin_ctz(byte));
                place(i * 8 + 7 - lowest, y);
            }
        }
    }
}

}  // namespace

std::optional<BilevelImage> RotatePage(const BilevelImage& page, uint32_t degrees) {
    const uint32_t w = page.width;
    const uint32_t h = page.height;
    switch (degrees) {
    case 90: {
        BilevelImage out(h, w);
        ForEachBlack(page, [&](uint32_t x, uint32_t y) { out.SetBlack(h - 1 - y, x); });
        return out;
    }
    case 180: {
        BilevelImage out(w, h);
        ForEachBlack(page, [&](uint32_t x, uint32_t y) { out.SetBlack(w - 1 - x, h - 1 - y); });
        return out;
    }
    case 270: {
        BilevelImage out(h, w);
        ForEachBlack(page, [&](uint32_t x, uint32_t y) { out.SetBlack(y, w - 1 - x); });
        return out;
    }
    default:
        return std::nullopt;
    }
}

}  // namespace kdm
