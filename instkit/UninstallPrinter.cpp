#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/core/Mbcs.h"
#include "instkit/ColorProfiles.h"
#include "instkit/Instkit.h"
#include "instkit/InstkitState.h"

using namespace instkit;

namespace {
constexpr char kPrintKey[] = "System\\CurrentControlSet\\Control\\Print\\";

void DeleteMachineKey(const std::string& path) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

std::string EnvironmentKey(const char* part) {
    return std::string(kPrintKey) + "Environments\\" + kEnvironment + "\\" + part + "\\";
}

// The port monitor the printer's driver names; empty when it names none or can't be read.
std::string DriverMonitor(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterDriverA(printer, const_cast<char*>(kEnvironment), 3, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_3A))
        return {};
    std::vector<BYTE> record(needed);
    if (!GetPrinterDriverA(printer, const_cast<char*>(kEnvironment), 3, record.data(), needed, &needed))
        return {};
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3A*>(record.data());
    const auto* end = reinterpret_cast<const char*>(record.data() + record.size());
    const char* monitor = driver->pMonitorName;
    if (!monitor || monitor < reinterpret_cast<const char*>(record.data()) || monitor >= end)
        return {};
    return std::string(BoundedText(monitor, static_cast<size_t>(end - monitor)));
}

DWORD PrinterIdOf(HANDLE printer) {
    DWORD id = 0;
    DWORD type = 0;
    DWORD size = 0;
    if (GetPrinterDataA(printer, const_cast<char*>("PrinterID"), &type, reinterpret_cast<BYTE*>(&id), sizeof id,
                        &size) != ERROR_SUCCESS ||
        size != sizeof id)
        return 0;
    return id;
}

struct FoundPrinter {
    std::string name;
    std::string processor;
};

// Deletes the printer; the monitor its driver names, for the checks that follow.
DWORD DeletePrinterNamed(const FoundPrinter& found, std::string& monitor, DWORD* printerId) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(found.name.c_str()), &printer, &access))
        return 0;
    monitor = DriverMonitor(printer);
    if (printerId)
        *printerId = PrinterIdOf(printer);
    DisassociatePrinterProfiles(found.name.c_str());
    DeletePrinter(printer);
    ClosePrinter(printer);
    DeleteMachineKey(std::string(kPrintKey) + "Printers\\" + found.name);
    return INSTKIT_PRINTER_DELETED;
}

// The driver, processor and monitor that no remaining printer needs any more.
DWORD RemoveUnused(InstkitState& state, const FoundPrinter& found, const std::string& monitor) {
    DWORD removed = 0;
    state.driverOrphaned = true;
    StillUsed used;
    if (BuildPrinterList(state.printers))
        used = FindUsers(PrinterViews(state.printers), state.lastDriver, found.processor);
    state.driverOrphaned = !used.driver;

    if (state.driverOrphaned) {
        DeletePrinterDriverA(nullptr, const_cast<char*>(kEnvironment), const_cast<char*>(state.lastDriver.c_str()));
        DeleteMachineKey(EnvironmentKey("Drivers") + state.lastDriver);
        removed |= INSTKIT_DRIVER_DELETED;
    }
    if (!used.processor && !found.processor.empty() && !EqualsIgnoringCase(found.processor, kStandardProcessor)) {
        // It was added for the spooler's own environment; the key of the named one goes too.
        DeletePrintProcessorA(nullptr, nullptr, const_cast<char*>(found.processor.c_str()));
        DeleteMachineKey(EnvironmentKey("Print Processors") + found.processor);
        removed |= INSTKIT_PROCESSOR_REMOVED;
    }
    if (!monitor.empty()) {
        SpoolerList drivers;
        BuildDriverList(drivers);
        const std::optional<std::string_view> ignored =
            state.driverOrphaned ? std::optional<std::string_view>(state.lastDriver) : std::nullopt;
        if (!AnyDriverUsesMonitor(DriverViews(drivers), monitor, ignored)) {
            DeleteMonitorA(nullptr, nullptr, const_cast<char*>(monitor.c_str()));
            DeleteMachineKey(std::string(kPrintKey) + "Monitors\\" + monitor);
            removed |= INSTKIT_MONITOR_REMOVED;
        }
    }
    return removed;
}
}  // namespace

extern "C" DWORD WINAPI UnInstallPrinter(LPCSTR printerName, DWORD* printerId) {
    if (!printerName || !*printerName)
        return 0;
    try {
        InstkitState& state = State();
        if (!BuildPrinterList(state.printers) || state.printers.count == 0)
            return 0;
        const std::vector<PrinterView> printers = PrinterViews(state.printers);
        const std::optional<size_t> match = FindPrinter(printers, printerName);
        if (!match) {
            state.printers.Clear();
            return 0;
        }
        const FoundPrinter found{std::string(printers[*match].name), std::string(printers[*match].processor)};
        state.lastDriver = printers[*match].driver;

        std::string monitor;
        DWORD result = DeletePrinterNamed(found, monitor, printerId);
        if (!state.lastDriver.empty())
            result |= RemoveUnused(state, found, monitor);
        state.printers.Clear();
        return result;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
