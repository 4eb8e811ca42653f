#pragma once
#include "setup/SetupState.h"

// The splash picture "OPENING.BMP" beside Setup: loaded whole, shown for three seconds, freed with the window.
bool LoadSplash(Splash& splash, const char* ownFolder);
// A palette for 40-byte-header bitmaps: their colour table, or a 8x8x4 cube for 24-bit ones; null otherwise.
HPALETTE MakeSplashPalette(const Splash& splash);
void PaintSplash(const Splash& splash, HDC dc);
void FreeSplash(Splash& splash);
