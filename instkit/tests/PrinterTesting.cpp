#include "instkit/tests/PrinterTesting.h"

#include <winspool.h>

#include <vector>

#include "framework/testing/TempFolder.h"
#include "instkit/tests/InstkitDll.h"

namespace {
// Whether a level-1 enumeration of the spooler lists the name.
template <typename Record, typename Enumerate>
bool Listed(Enumerate enumerate, const std::string& name) {
    DWORD needed = 0;
    DWORD count = 0;
    enumerate(nullptr, 0, &needed, &count);
    std::vector<BYTE> block(needed);
    if (needed == 0 || !enumerate(block.data(), needed, &needed, &count))
        return false;
    const auto* records = reinterpret_cast<const Record*>(block.data());
    for (DWORD i = 0; i < count; ++i) {
        if (lstrcmpiA(records[i].pName, name.c_str()) == 0)
            return true;
    }
    return false;
}
}  // namespace

bool PrepareTestDriver() {
    char folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed))
        return false;
    const std::string ppd = ReadFileBytes("Z:" MIROLO_SOURCE_DIR "/tools/printer/test-printer.ppd");
    if (ppd.empty())
        return false;
    CreateDirectoryA((std::string(folder) + "\\3").c_str(), nullptr);
    WriteFileBytes(std::string(folder) + "\\3\\instkit.ppd", ppd);
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kTestDriver);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>("instkit.ppd");
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    return AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) || DriverExists(nullptr, kTestDriver);
}

DWORD InstallTestPrinter(const char* name, const TestPrinterChoices& choices) {
    return Instkit().InstallPrinter(name, choices.driver, choices.dependentFiles, "RAW", "instkit.hlp", choices.idKey,
                                    "FILE:", "wineps.drv", choices.processor, "winprint.dll", choices.monitor,
                                    "localspl.dll", choices.options, 0);
}

bool PrinterExists(const std::string& name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

PrinterRead ReadPrinter(const std::string& name) {
    PrinterRead read;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr))
        return read;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> block(needed);
    if (needed && GetPrinterA(printer, 2, block.data(), needed, &needed)) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(block.data());
        read.attributes = info->Attributes;
        read.port = info->pPortName ? info->pPortName : "";
        read.driver = info->pDriverName ? info->pDriverName : "";
        read.processor = info->pPrintProcessor ? info->pPrintProcessor : "";
    }
    DWORD type = 0;
    DWORD size = 0;
    read.hasPrinterId =
        GetPrinterDataA(printer, const_cast<char*>("PrinterID"), &type, reinterpret_cast<BYTE*>(&read.printerId),
                        sizeof read.printerId, &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(DWORD);
    ClosePrinter(printer);
    return read;
}

bool DriverExists(const char* environment, const std::string& name) {
    return Listed<DRIVER_INFO_1A>(
        [environment](BYTE* b, DWORD size, DWORD* needed, DWORD* count) {
            return EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 1, b, size, needed, count);
        },
        name);
}

bool MonitorExists(const std::string& name) {
    return Listed<MONITOR_INFO_1A>([](BYTE* b, DWORD size, DWORD* needed,
                                      DWORD* count) { return EnumMonitorsA(nullptr, 1, b, size, needed, count); },
                                   name);
}

bool ProcessorExists(const std::string& name) {
    return Listed<PRINTPROCESSOR_INFO_1A>(
        [](BYTE* b, DWORD size, DWORD* needed, DWORD* count) {
            return EnumPrintProcessorsA(nullptr, nullptr, 1, b, size, needed, count);
        },
        name);
}

void RemoveTestPrinter(const std::string& name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}
