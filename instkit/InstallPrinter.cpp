#include <windows.h>
#include <winspool.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/core/Mbcs.h"
#include "instkit/Instkit.h"
#include "instkit/InstkitState.h"

using namespace instkit;

namespace {
char* Text(LPCSTR text) {
    return const_cast<char*>(text ? text : "");
}

bool Given(LPCSTR text) {
    return text && *text;
}

// The 32-bit "PrinterID" of the installer's key, when it has one.
std::optional<DWORD> ReadPrinterId(LPCSTR key) {
    if (!Given(key))
        return std::nullopt;
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    CRegKey opened(raw);
    DWORD id = 0;
    DWORD type = 0;
    DWORD size = sizeof id;
    if (RegQueryValueExA(raw, "PrinterID", nullptr, &type, reinterpret_cast<BYTE*>(&id), &size) != ERROR_SUCCESS ||
        size != sizeof id)
        return std::nullopt;
    return id;
}

// The attributes and port of the new printer, written through a level-2 record read from the spooler.
void SetAttributesAndPort(HANDLE printer, DWORD attributes, LPCSTR port) {
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    if (needed == 0)
        return;
    std::vector<BYTE> record(needed);
    if (!GetPrinterA(printer, 2, record.data(), needed, &needed))
        return;
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(record.data());
    info->Attributes = attributes;
    info->pPortName = Text(port);
    // A nonzero level takes command 0: the record itself is the change.
    SetPrinterA(printer, 2, record.data(), 0);
}
}  // namespace

extern "C" DWORD WINAPI InstallPrinter(LPCSTR printerName,
                                       LPCSTR driverName,
                                       LPCSTR dependentFiles,
                                       LPCSTR dataType,
                                       LPCSTR helpFile,
                                       LPCSTR idKey,
                                       LPCSTR port,
                                       LPCSTR driverFile,
                                       LPCSTR processorName,
                                       LPCSTR processorFile,
                                       LPCSTR monitorName,
                                       LPCSTR monitorFile,
                                       DWORD options,
                                       DWORD driverVersion) {
    // An empty name would open the print server itself.
    if (!Given(printerName))
        return 0;
    try {
        const bool makeDefault = options & INSTKIT_MAKE_DEFAULT;
        const bool queueJobs = options & INSTKIT_QUEUE_JOBS;
        const bool withProcessor = Given(processorName);
        const bool withMonitor = Given(monitorName);

        DRIVER_INFO_3A driver{};
        driver.cVersion = driverVersion;
        driver.pName = Text(driverName);
        driver.pEnvironment = const_cast<char*>(kEnvironment);
        driver.pDriverPath = Text(driverFile);
        driver.pDataFile = Text(driverFile);
        driver.pConfigFile = Text(driverFile);
        driver.pHelpFile = Text(helpFile);
        driver.pDependentFiles = const_cast<char*>(dependentFiles);
        driver.pMonitorName = Text(withMonitor ? monitorName : "");
        driver.pDefaultDataType = Text(dataType);

        PRINTER_INFO_2A info{};
        info.pPrinterName = Text(printerName);
        info.pPortName = Text(port);
        info.pDriverName = Text(driverName);
        info.pPrintProcessor = withProcessor ? Text(processorName) : const_cast<char*>(kStandardProcessor);
        info.pDatatype = Text(dataType);
        info.Priority = 1;
        info.DefaultPriority = 1;
        info.Attributes = makeDefault ? PRINTER_ATTRIBUTE_DEFAULT : 0;

        if (withMonitor) {
            MONITOR_INFO_2A monitor{Text(monitorName), const_cast<char*>(kEnvironment), Text(monitorFile)};
            AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&monitor));
        }
        if (withProcessor)
            AddPrintProcessorA(nullptr, nullptr, Text(processorFile), Text(processorName));
        AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
        // The driver of the last uninstalled printer is back in use: its files count again.
        InstkitState& state = State();
        if (state.driverOrphaned && EqualsIgnoringCase(state.lastDriver, driver.pName))
            state.driverOrphaned = false;
        if (HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info)))
            ClosePrinter(added);

        const std::optional<DWORD> printerId = ReadPrinterId(idKey);

        // Changing a printer's record needs administration access.
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
        HANDLE printer = nullptr;
        if (!OpenPrinterA(Text(printerName), &printer, &access))
            return 0;
        DWORD attributes = makeDefault ? PRINTER_ATTRIBUTE_DEFAULT : 0;
        if (queueJobs)
            attributes |= PRINTER_ATTRIBUTE_QUEUED;
        if (withMonitor)
            attributes |= PRINTER_ATTRIBUTE_ENABLE_BIDI;
        SetAttributesAndPort(printer, attributes, port);
        if (printerId) {
            DWORD id = *printerId;
            SetPrinterDataA(printer, const_cast<char*>("PrinterID"), REG_DWORD, reinterpret_cast<BYTE*>(&id),
                            sizeof id);
        }
        return ClosePrinter(printer);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
