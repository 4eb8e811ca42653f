#pragma once
#include <windows.h>

#include "framework/Handles.h"

// The image library takes and returns BMP file images; the Viewer keeps packed bitmaps.

// A new zero-filled movable block; the packed bitmap is left alone. Null unless the block holds a whole bitmap
// with a 40-byte info header.
HGLOBAL PackedDibToBmpImage(HGLOBAL dib);
// The block itself with everything after the 14-byte file header moved to its start: a page is half a
// megabyte, and a new block of that size is fresh memory to fault in. Empty for a block of 14 bytes or fewer.
CGlobalBlock BmpImageToPackedDib(CGlobalBlock bmpImage);
