#include "viewer/dib/DibPaint.h"

#include "viewer/dib/LockedDib.h"

int PaintDib(HDC dc, const RECT& dst, HGLOBAL dib, const RECT& src, HPALETTE palette, DWORD rop) {
    CLockedDib locked(dib);
    if (!locked)
        return 0;
    HPALETTE previous = nullptr;
    if (palette) {
        previous = SelectPalette(dc, palette, TRUE);
        RealizePalette(dc);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    const DibBytes bytes = locked.Bytes();
    const int lines = StretchDIBits(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, src.left,
                                    src.top, src.right - src.left, src.bottom - src.top,
                                    bytes.data() + DibBitsOffset(bytes), locked.Info(), DIB_RGB_COLORS, rop);
    if (previous)
        SelectPalette(dc, previous, TRUE);
    return lines;
}

int PaintDibPlain(HDC dc, int x, int y, int cx, int cy, HGLOBAL dib, int sx, int sy, int scx, int scy, DWORD rop) {
    if (!dib)
        return PatBlt(dc, x, y, cx, cy, rop);
    CLockedDib locked(dib);
    if (!locked)
        return 0;
    const DibBytes bytes = locked.Bytes();
    const BYTE* rows = bytes.data() + DibHeaderSize(bytes) + DibPaletteSizeMasks(bytes);
    return StretchDIBits(dc, x, y, cx, cy, sx, sy, scx, scy, rows, locked.Info(), DIB_RGB_COLORS, rop);
}
