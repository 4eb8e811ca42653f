#pragma once
#include <windows.h>

// The printer-folder library of the device's software (Prnfold.dll), bound at load time.
extern "C" {
void PrinterFoldarEntryInit(void);
BOOL WINAPI PrinterFoldarEntry(HWND owner, LPCSTR printerName, LPCSTR driverPath, DWORD reserved);
}
