#pragma once
#include <windows.h>

#include <span>

// Dialogs whose controls sit at fixed client pixels, whatever the template and its font say.
struct ControlPlace {
    int id, x, y, cx, cy;
};
// Moves each control to its place, then gives the dialog `width` and a client area `clientHeight` high, keeping
// its position.
void PlaceDialogControls(HWND dialog, std::span<const ControlPlace> places, int width, int clientHeight);

// A dialog's WM_SETCURSOR while it is busy: the wait cursor stays, wherever the mouse goes. FALSE when not busy,
// so the standard cursor handling runs.
BOOL KeepWaitCursorWhileBusy(HWND dialog);
