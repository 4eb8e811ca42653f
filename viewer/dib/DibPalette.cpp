#include "viewer/dib/DibPalette.h"

#include "viewer/dib/LockedDib.h"

bool CreateDibPalette(HGLOBAL dib, CPaletteHandle& palette) {
    CLockedDib locked(dib);
    if (!locked)
        return false;
    const WORD count = DibNumColors(locked.Bytes());
    if (count == 0)
        return false;
    // LOGPALETTE's own size already holds one entry: the block has one spare.
    CGlobalBlock logBlock(GlobalAlloc(GHND, SIZE_T{count} * sizeof(PALETTEENTRY) + sizeof(LOGPALETTE)));
    CGlobalLock lock(logBlock.Get());
    auto* logPalette = static_cast<LOGPALETTE*>(lock.Data());
    if (!logPalette)
        return false;
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = count;
    PALETTEENTRY* entries = logPalette->palPalEntry;
    for (WORD i = 0; i < count; ++i) {
        const DibRgb rgb = DibColor(locked.Bytes(), i);
        entries[i] = {rgb.red, rgb.green, rgb.blue, 0};
    }
    HPALETTE created = CreatePalette(logPalette);
    if (!created)
        return false;
    palette.Reset(created);
    return true;
}
