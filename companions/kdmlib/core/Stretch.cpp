#include "companions/kdmlib/core/Stretch.h"

#include <cstring>

namespace kdm {

std::optional<BilevelImage> StretchPage(BilevelImage page, uint32_t mode) {
    if (mode == static_cast<uint32_t>(StretchMode::AsIs)) {
        return page;
    }
    if (mode != static_cast<uint32_t>(StretchMode::DoubleRows)) {
        return std::nullopt;
    }
    BilevelImage tall(page.width, page.height * 2);
    const size_t stride = page.Stride();
    for (uint32_t y = 0; y < page.height; ++y) {
        std::memcpy(tall.Row(2 * y), page.Row(y), stride);
        std::memcpy(tall.Row(2 * y + 1), page.Row(y), stride);
    }
    return tall;
}

}  // namespace kdm
