#pragma once
#include <windows.h>

#include <string>

// For tests: what a report list shows, read through its messages.
std::string ListCellText(HWND list, int row, int column);
