#pragma once
#include <windows.h>

// The image library's four exports as the Viewer binds to them. Each returns a new movable global block holding a
// BMP file image (BITMAPFILEHEADER first), or 0; the caller frees it. Input images are locked BMP file images.
// The DLL itself exports through its .def file and defines KDMLIB_API empty.
#ifndef KDMLIB_API
#define KDMLIB_API __declspec(dllimport)
#endif

extern "C" {

// Decodes one Modified Huffman page. `work` receives the number of lines that did not decode (0 for a clean
// page); `one` and `one2` are 1. decodeParam's low three bits give the page width (see core/MhDecoder.h).
// Sends message 2127 (wParam = percent) to progressWnd while decoding, ending with 100, when progressWnd is not 0.
KDMLIB_API HGLOBAL WINAPI
MHtoBmp(const BYTE* coded, DWORD codedBytes, DWORD* work, DWORD one, DWORD one2, DWORD decodeParam, HWND progressWnd);
// Mode 0 doubles the rows of a standard-resolution page, mode 1 keeps a fine page as it is. `work` is not used.
KDMLIB_API HGLOBAL WINAPI StretchBmp(const BYTE* bmpImage, DWORD* work, DWORD mode, DWORD one);
// Turns a 1-bit page clockwise by 90, 180 or 270 degrees.
KDMLIB_API HGLOBAL WINAPI BMPRotate(const BYTE* bmpImage, DWORD* work, DWORD degrees);
// An 8-bit grey, anti-aliased copy of a 1-bit page, same size; sends message 2129 with the percent done.
KDMLIB_API HGLOBAL WINAPI SmoothStretch(const BYTE* bmpImage, DWORD* work, HWND progressWnd);
}

inline constexpr UINT kKdmDecodeProgressMessage = 2127;
inline constexpr UINT kKdmSmoothProgressMessage = 2129;
