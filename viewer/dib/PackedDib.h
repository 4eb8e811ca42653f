#pragma once
#include <windows.h>

// Layout of a locked packed bitmap, read from its header alone: the caller vouches that the whole header
// (12 bytes for the core header, else 40) is there. Blocks from outside go through CLockedDib first.

WORD DibNumColors(const void* header);
DWORD DibPaletteSize(const void* header);
DWORD DibPaletteSizeMasks(const void* header);
// The pixel rows: header size + DibPaletteSize bytes after the header.
const BYTE* DibBits(const void* header);
LONG DibWidth(const void* header);
LONG DibHeight(const void* header);
