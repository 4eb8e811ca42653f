#pragma once
#include <windows.h>

// A new packed bitmap block (40-byte info header, colour table, pixel rows) of a device bitmap, read through
// the screen with `palette` (the stock default palette when null). `bitCount` 0 keeps the bitmap's own depth.
// Null without a bitmap, or when GDI cannot describe or read it, or allocation fails.
HGLOBAL BitmapToDib(HBITMAP bitmap, DWORD compression, WORD bitCount, HPALETTE palette);
