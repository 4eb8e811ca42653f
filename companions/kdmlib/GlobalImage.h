#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>

#include "companions/kdmlib/core/BmpFile.h"

// Moves BMP images between the callers' global memory blocks and the core.
namespace kdm {

// The BMP image behind a locked block pointer, as far as it can be trusted: the block's own size when the pointer
// is the start of a global block, else the image's bfSize (a caller passing other memory vouches for it).
std::span<const uint8_t> LockedBmpImage(const BYTE* image);

// A new movable block holding the image as a BMP file image, or 0.
HGLOBAL NewBilevelBmpBlock(const BilevelImage& image, const BilevelColours& colours);
HGLOBAL NewGreyBmpBlock(const GreyImage& image);

}  // namespace kdm
