#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>

#include "framework/core/Mbcs.h"
#include "instkit/Instkit.h"
#include "instkit/InstkitState.h"

namespace instkit {

InstkitState& State() {
    static InstkitState state;
    return state;
}

namespace {
// A text of a record: it lies in the list's block, which bounds it.
std::string_view Text(const SpoolerList& list, const char* text) {
    const auto* begin = reinterpret_cast<const char*>(list.block.data());
    const auto* end = reinterpret_cast<const char*>(list.End());
    if (!text || text < begin || text >= end)
        return {};
    return BoundedText(text, static_cast<size_t>(end - text));
}

template <typename Record>
const Record* Records(const SpoolerList& list) {
    // The spooler's count never exceeds what its block holds; a short block is read as holding none.
    if (list.block.size() < static_cast<size_t>(list.count) * sizeof(Record))
        return nullptr;
    return reinterpret_cast<const Record*>(list.block.data());
}
}  // namespace

std::vector<PrinterView> PrinterViews(const SpoolerList& printers) {
    std::vector<PrinterView> views;
    const auto* records = Records<PRINTER_INFO_2A>(printers);
    for (DWORD i = 0; records && i < printers.count; ++i) {
        views.push_back({Text(printers, records[i].pPrinterName), Text(printers, records[i].pDriverName),
                         Text(printers, records[i].pPrintProcessor)});
    }
    return views;
}

std::vector<DriverView> DriverViews(const SpoolerList& drivers) {
    std::vector<DriverView> views;
    const auto* records = Records<DRIVER_INFO_3A>(drivers);
    for (DWORD i = 0; records && i < drivers.count; ++i) {
        DriverView view{Text(drivers, records[i].pName), Text(drivers, records[i].pMonitorName), {}};
        const char* files = Text(drivers, records[i].pDependentFiles).data();
        if (files)
            view.dependentFiles = SplitNameList(files, reinterpret_cast<const char*>(drivers.End()));
        views.push_back(std::move(view));
    }
    return views;
}

bool BuildPrinterList(SpoolerList& list) {
    return FillList(list, [](BYTE* block, DWORD size, DWORD* needed, DWORD* count) {
        return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, block, size, needed, count);
    });
}

bool BuildPortList(SpoolerList& list) {
    return FillList(list, [](BYTE* block, DWORD size, DWORD* needed, DWORD* count) {
        return EnumPortsA(nullptr, 1, block, size, needed, count);
    });
}

bool BuildDriverList(SpoolerList& list) {
    return FillList(list, [](BYTE* block, DWORD size, DWORD* needed, DWORD* count) {
        return EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 3, block, size, needed, count);
    });
}

void CopyName(char* buffer, const char* text) {
    if (!buffer)
        return;
    const std::string_view name = text ? std::string_view(text) : std::string_view();
    const size_t length = FittingLength(name, INSTKIT_NAME_BUFFER - 1);
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
}

}  // namespace instkit

using namespace instkit;

namespace {
// The entry at the cursor, or none past the end; the cursor moves on either way.
template <typename Record>
const Record* NextRecord(SpoolerList& list) {
    const WORD at = list.cursor++;
    if (at >= list.count || list.block.size() < static_cast<size_t>(list.count) * sizeof(Record))
        return nullptr;
    return reinterpret_cast<const Record*>(list.block.data()) + at;
}

// The entries a Create call reports: 0, and an empty list, when the spooler or memory fails.
DWORD Build(SpoolerList& list, bool (*build)(SpoolerList&)) {
    try {
        return build(list) ? list.count : 0;
    } catch (const std::bad_alloc&) {
        list.Clear();
        return 0;
    }
}
}  // namespace

extern "C" DWORD __cdecl CreatePrinterList(void) {
    return Build(State().printers, BuildPrinterList);
}

extern "C" void WINAPI GetNextPrinterData(LPSTR name, LPSTR driver, LPSTR processor) {
    const auto* printer = NextRecord<PRINTER_INFO_2A>(State().printers);
    CopyName(name, printer ? printer->pPrinterName : nullptr);
    CopyName(driver, printer ? printer->pDriverName : nullptr);
    CopyName(processor, printer ? printer->pPrintProcessor : nullptr);
}

extern "C" void __cdecl FreePrinterList(void) {
    State().printers.Clear();
}

extern "C" DWORD __cdecl CreatePortList(void) {
    return Build(State().ports, BuildPortList);
}

extern "C" void WINAPI GetNextPortData(LPSTR name) {
    const auto* port = NextRecord<PORT_INFO_1A>(State().ports);
    CopyName(name, port ? port->pName : nullptr);
}

extern "C" void __cdecl FreePortList(void) {
    State().ports.Clear();
}

extern "C" DWORD __cdecl CreateDriverList(void) {
    return Build(State().drivers, BuildDriverList);
}

extern "C" WORD WINAPI IsFileInDrvList(LPCSTR fileName) {
    if (!fileName)
        return 0;
    try {
        const InstkitState& state = State();
        const std::optional<std::string_view> ignored =
            state.driverOrphaned ? std::optional<std::string_view>(state.lastDriver) : std::nullopt;
        const size_t users = CountDriversListing(DriverViews(state.drivers), fileName, ignored);
        return static_cast<WORD>(std::min<size_t>(users, 0xFFFF));
    } catch (const std::bad_alloc&) {
        // Unknown: the caller keeps the file rather than delete one a driver may still use.
        return 1;
    }
}

extern "C" void __cdecl FreeDriverList(void) {
    State().drivers.Clear();
}
