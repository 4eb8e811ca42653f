#pragma once
#include <cstdint>
#include <optional>

#include "companions/kdmlib/core/PageImages.h"

namespace kdm {

// Turns a page clockwise by 90, 180 or 270 degrees, pixel for pixel; other angles give nothing.
std::optional<BilevelImage> RotatePage(const BilevelImage& page, uint32_t degrees);

}  // namespace kdm
