#include "viewer/dib/BmpImageConversion.h"

#include <cstring>

#include "framework/Handles.h"
#include "viewer/dib/core/BmpImage.h"

HGLOBAL PackedDibToBmpImage(HGLOBAL dib) {
    CGlobalLock source(dib);
    const DibBytes bytes(static_cast<const uint8_t*>(source.Data()), source.Size());
    const auto size = static_cast<size_t>(BmpImageSize(bytes));
    if (size == 0)
        return nullptr;
    CGlobalBlock image(GlobalAlloc(GHND, size));
    CGlobalLock target(image.Get());
    if (!target.Data())
        return nullptr;
    WriteBmpImage(bytes, {static_cast<uint8_t*>(target.Data()), size});
    return image.Release();
}

CGlobalBlock BmpImageToPackedDib(CGlobalBlock bmpImage) {
    const SIZE_T size = bmpImage ? GlobalSize(bmpImage.Get()) : 0;
    if (size <= kBmpFileHeaderSize)
        return {};
    {
        CGlobalLock lock(bmpImage.Get());
        if (!lock.Data())
            return {};
        std::memmove(lock.Data(), static_cast<const uint8_t*>(lock.Data()) + kBmpFileHeaderSize,
                     size - kBmpFileHeaderSize);
    }
    // A block that cannot shrink keeps the 14 bytes at its end, which no reader of the bitmap looks at.
    if (HGLOBAL packed = GlobalReAlloc(bmpImage.Get(), size - kBmpFileHeaderSize, GMEM_MOVEABLE)) {
        bmpImage.Release();
        return CGlobalBlock(packed);
    }
    return bmpImage;
}
