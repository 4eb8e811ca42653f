#pragma once
#include <windows.h>

// Colour profiles of devices, through the colour-management functions found at run time: the library loads and
// works on systems without them.
namespace instkit {

// The libraries the functions are looked up in; tests name others to reach the paths of missing functions.
struct ColorLibraries {
    const char* management = "MSCMS.DLL";
    const char* graphics = "GDI32.DLL";
};

DWORD UpdateColorInfo(const ColorLibraries& libraries, LPCSTR deviceName, LPCSTR profileFile, UINT command);

// Removes every printer profile associated with the printer.
void DisassociatePrinterProfiles(const ColorLibraries& libraries, LPCSTR printerName);
inline void DisassociatePrinterProfiles(LPCSTR printerName) {
    DisassociatePrinterProfiles(ColorLibraries{}, printerName);
}

}  // namespace instkit
