#include <windows.h>

#include <cstring>
#include <new>

#include "companions/prnfold/FaxPrinter.h"

// The two calls Setup makes: the first when it starts, the second for each printer-folder row of its profile
// edits. Setup does not look at the results; they are still true ones for any other caller.
namespace {
// The spooler's printer names hold at most 220 characters; the driver's name adds a suffix to the printer's.
constexpr size_t kMaxPrinterName = 200;

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}
}  // namespace

// Setup calls this once when it starts: the driver's printer description goes into place early. Each entry
// stages it again, since adding the driver takes the staged copy away.
extern "C" void PrinterFoldarEntryInit(void) {
    try {
        StageDriverData(ThisModule());
    } catch (const std::bad_alloc&) {
    }
}

// The owner window is not used: the printer is added without asking anything.
extern "C" BOOL WINAPI PrinterFoldarEntry(HWND, LPCSTR printerName, LPCSTR driverPath, DWORD reserved) {
    if (!printerName || !*printerName || reserved != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (strlen(printerName) > kMaxPrinterName) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    try {
        FaxPrinterSpec spec{printerName, driverPath ? driverPath : "", FaxPortFromDeviceIni()};
        if (spec.port.empty()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        return InstallFaxPrinter(ThisModule(), spec) ? TRUE : FALSE;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}
