#pragma once
#include <windows.h>

// Stretches the pixel rows of a packed bitmap block from `src` onto `dst`, with the colour table as RGB colours.
// A given palette is realised as a background palette for the call. Returns StretchDIBits' result; 0 without
// a block or with a damaged one. The stretch mode stays colour-on-colour afterwards.
int PaintDib(HDC dc, const RECT& dst, HGLOBAL dib, const RECT& src, HPALETTE palette, DWORD rop);

// The same stretch without palette or stretch-mode changes; the rows are found after DibPaletteSizeMasks, so
// bit-field images draw right. Without a block the destination is filled by the raster operation alone.
int PaintDibPlain(HDC dc, int x, int y, int cx, int cy, HGLOBAL dib, int sx, int sy, int scx, int scy, DWORD rop);
