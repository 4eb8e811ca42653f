#pragma once
#include <windows.h>

// A dialog that is a program's main window shows the program icon in its caption and, where a shell still draws
// minimised windows, in its client area.
void SetDialogIcons(HWND dialog, HICON icon);
// Paints the icon centred over the icon background when the dialog is minimised; false otherwise, so that the
// normal painting runs.
bool PaintMinimisedIcon(HWND dialog, HICON icon);
