#pragma once
#include <windows.h>

// The old-style open dialog used to pick a folder: the user walks the folder list and presses OK, which closes the
// dialog with the folder the list stands in. The folder is changed only when the user chose one.
void ChooseFolder(HWND owner, const char* title, char (&folder)[MAX_PATH]);
