#include "viewer/dib/CopyDib.h"

#include <cstring>

#include "framework/Handles.h"

HGLOBAL CopyDib(HGLOBAL dib) {
    CGlobalLock source(dib);
    const SIZE_T size = source.Size();
    if (size == 0)
        return nullptr;
    CGlobalBlock copy(GlobalAlloc(GHND, size));
    CGlobalLock target(copy.Get());
    if (!target.Data())
        return nullptr;
    std::memcpy(target.Data(), source.Data(), size);
    return copy.Release();
}
