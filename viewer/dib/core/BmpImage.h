#pragma once
#include <cstdint>
#include <span>

#include "viewer/dib/core/PackedDibLayout.h"

// A BMP file image: the 14-byte file header ("BM", file size, two reserved words, offset of the pixel rows),
// then a packed bitmap. The image library works on these; the Viewer keeps packed bitmaps.

inline constexpr size_t kBmpFileHeaderSize = 14;

// Bytes of the BMP image made from a packed bitmap with a 40-byte info header; 0 for any other header and for
// a bitmap that IsValidPackedDib rejects.
uint64_t BmpImageSize(DibBytes dib);

// Writes the BMP image of `dib` into `out`, which holds exactly BmpImageSize(dib) bytes; the copy's
// biSizeImage receives the pixel byte count.
void WriteBmpImage(DibBytes dib, std::span<uint8_t> out);

// The 14-byte file header of the BMP image of `dib` (BmpImageSize(dib) must not be 0).
void WriteBmpFileHeader(DibBytes dib, std::span<uint8_t, kBmpFileHeaderSize> out);
