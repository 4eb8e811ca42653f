#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The framework's printing: the print dialog offering pages `minPage`..`maxPage`, then one sheet per chosen page,
// each drawn by `drawPage` on the printer's surface with the sheet's printable area in device units. False when
// the dialog was cancelled or the job failed.
bool PrintPages(HWND owner,
                const std::string& documentName,
                int minPage,
                int maxPage,
                const std::function<void(HDC, int page, const RECT& printable)>& drawPage);

// The print-setup dialog: the printer and paper chosen there are used by the next print.
void PrintSetup(HWND owner);
