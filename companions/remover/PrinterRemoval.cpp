#include "companions/remover/PrinterRemoval.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

namespace {
struct PrinterUse {
    std::string name, driver, port;
};

std::vector<PrinterUse> LocalPrinters() {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    std::vector<PrinterUse> printers;
    if (needed == 0 || !EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count))
        return printers;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        printers.push_back({info[i].pPrinterName ? info[i].pPrinterName : "",
                            info[i].pDriverName ? info[i].pDriverName : "",
                            info[i].pPortName ? info[i].pPortName : ""});
    }
    return printers;
}

// Only a port that is a file path ("C:\...") is the library's own; the standard ports stay whatever happens.
bool IsFilePort(const std::string& port) {
    return port.size() > 3 && port[1] == ':' && port[2] == '\\';
}

void DeleteFilePort(const std::string& port) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE monitor = nullptr;
    if (!OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), &monitor, &access))
        return;
    const int length = MultiByteToWideChar(CP_ACP, 0, port.c_str(), -1, nullptr, 0);
    std::wstring name(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, port.c_str(), -1, name.data(), length);
    DWORD needed = 0, status = 0;
    XcvDataW(monitor, L"DeletePort", reinterpret_cast<BYTE*>(name.data()),
             static_cast<DWORD>(name.size() * sizeof(wchar_t)), nullptr, 0, &needed, &status);
    ClosePrinter(monitor);
}

// With its files where the spooler allows it; the driver entry alone where it refuses that (Wine does).
void DeleteDriver(const std::string& driver) {
    char* name = const_cast<char*>(driver.c_str());
    if (!DeletePrinterDriverExA(nullptr, nullptr, name, DPD_DELETE_UNUSED_FILES, 0) &&
        GetLastError() != ERROR_PRINTER_DRIVER_IN_USE)
        DeletePrinterDriverA(nullptr, nullptr, name);
}
}  // namespace

bool RemoveDevicePrinter(const std::string& name) {
    std::vector<PrinterUse> printers = LocalPrinters();
    PrinterUse removed;
    bool found = false;
    for (auto it = printers.begin(); it != printers.end(); ++it) {
        if (lstrcmpiA(it->name.c_str(), name.c_str()) == 0) {
            removed = *it;
            printers.erase(it);
            found = true;
            break;
        }
    }
    if (!found)
        return true;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(removed.name.c_str()), &printer, &access))
        return false;
    const bool deleted = DeletePrinter(printer);
    ClosePrinter(printer);
    if (!deleted)
        return false;
    bool driverUsed = false;
    bool portUsed = false;
    for (const PrinterUse& other : printers) {
        driverUsed = driverUsed || lstrcmpiA(other.driver.c_str(), removed.driver.c_str()) == 0;
        portUsed = portUsed || lstrcmpiA(other.port.c_str(), removed.port.c_str()) == 0;
    }
    if (!driverUsed && !removed.driver.empty())
        DeleteDriver(removed.driver);
    if (!portUsed && IsFilePort(removed.port))
        DeleteFilePort(removed.port);
    return true;
}
