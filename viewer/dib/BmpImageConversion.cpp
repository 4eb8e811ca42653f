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

HGLOBAL BmpImageToPackedDib(HGLOBAL bmpImage) {
    CGlobalLock source(bmpImage);
    const SIZE_T size = source.Size();
    if (size <= kBmpFileHeaderSize)
        return nullptr;
    CGlobalBlock dib(GlobalAlloc(GHND, size - kBmpFileHeaderSize));
    CGlobalLock target(dib.Get());
    if (!target.Data())
        return nullptr;
    std::memcpy(target.Data(), static_cast<const uint8_t*>(source.Data()) + kBmpFileHeaderSize,
                size - kBmpFileHeaderSize);
    return dib.Release();
}
