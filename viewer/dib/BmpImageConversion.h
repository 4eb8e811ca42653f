#pragma once
#include <windows.h>

// The image library takes and returns BMP file images; the Viewer keeps packed bitmaps. Both conversions make
// a new zero-filled movable block and leave the source alone.

// Null unless the block holds a whole bitmap with a 40-byte info header.
HGLOBAL PackedDibToBmpImage(HGLOBAL dib);
// Everything after the 14-byte file header; null for a block of 14 bytes or fewer.
HGLOBAL BmpImageToPackedDib(HGLOBAL bmpImage);
