#include "companions/kdmlib/GlobalImage.h"

namespace kdm {
namespace {

template <typename Write>
HGLOBAL NewBlock(size_t size, Write write) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) {
        return nullptr;
    }
    void* p = GlobalLock(block);
    if (p == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    write(std::span<uint8_t>(static_cast<uint8_t*>(p), size));
    GlobalUnlock(block);
    return block;
}

}  // namespace

std::span<const uint8_t> LockedBmpImage(const BYTE* image) {
    if (image == nullptr) {
        return {};
    }
    const HGLOBAL block = GlobalHandle(image);
    if (block != nullptr && GlobalLock(block) == image) {
        const SIZE_T size = GlobalSize(block);
        GlobalUnlock(block);
        return {image, size};
    }
    const uint32_t fileSize = image[2] | image[3] << 8 | image[4] << 16 | static_cast<uint32_t>(image[5]) << 24;
    return {image, fileSize};
}

HGLOBAL NewBilevelBmpBlock(const BilevelImage& image, const BilevelColours& colours) {
    return NewBlock(BilevelBmpSize(image), [&](std::span<uint8_t> out) { WriteBilevelBmp(image, colours, out); });
}

HGLOBAL NewGreyBmpBlock(const GreyImage& image) {
    return NewBlock(GreyBmpSize(image), [&](std::span<uint8_t> out) { WriteGreyBmp(image, out); });
}

}  // namespace kdm
