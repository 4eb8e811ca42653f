#pragma once
#include <windows.h>

// A new zero-filled movable block of the same size with the same bytes, or null.
HGLOBAL CopyDib(HGLOBAL dib);
