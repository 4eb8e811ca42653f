#pragma once
#include <windows.h>

#include "framework/Handles.h"

// Builds a logical palette from the colour table of a packed bitmap block and gives it to `palette`. False,
// with `palette` untouched, when the bitmap has no colour table or the block is damaged or allocation fails.
bool CreateDibPalette(HGLOBAL dib, CPaletteHandle& palette);
