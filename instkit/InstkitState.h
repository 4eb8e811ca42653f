#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "instkit/core/SpoolerLists.h"

// What the library keeps between calls, one copy per process.
namespace instkit {

// The spooler's environment for every driver, processor and monitor the library handles.
inline constexpr char kEnvironment[] = "Windows 4.0";
// The system's own print processor: never removed with a printer.
inline constexpr char kStandardProcessor[] = "WinPrint";

// One enumeration's records as the spooler returned them, in one block, with a cursor.
struct SpoolerList {
    std::vector<BYTE> block;
    DWORD count = 0;
    WORD cursor = 0;

    void Clear() {
        block.clear();
        block.shrink_to_fit();
        count = 0;
        cursor = 0;
    }
    const BYTE* End() const { return block.data() + block.size(); }
};

struct InstkitState {
    SpoolerList printers;  // PRINTER_INFO_2A
    SpoolerList ports;     // PORT_INFO_1A
    SpoolerList drivers;   // DRIVER_INFO_3A of kEnvironment
    std::string lastDriver;
    bool driverOrphaned = false;
    std::string groupPath;
};

InstkitState& State();

// Fills the list from an Enum* call of the spooler, asked first for the size it needs. False (and an empty list)
// when the spooler refuses.
template <typename Enumerate>
bool FillList(SpoolerList& list, Enumerate enumerate) {
    list.Clear();
    // The list may grow between the two calls: ask again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        DWORD count = 0;
        if (enumerate(list.block.empty() ? nullptr : list.block.data(), static_cast<DWORD>(list.block.size()), &needed,
                      &count)) {
            list.count = count;
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
            break;
        list.block.assign(needed, 0);
    }
    list.Clear();
    return false;
}

// Views of the records, bounded by the list's block.
std::vector<PrinterView> PrinterViews(const SpoolerList& printers);
std::vector<DriverView> DriverViews(const SpoolerList& drivers);

bool BuildPrinterList(SpoolerList& list);
bool BuildPortList(SpoolerList& list);
bool BuildDriverList(SpoolerList& list);

// Copies `text` into a caller's name buffer of INSTKIT_NAME_BUFFER bytes, cut at a whole character.
void CopyName(char* buffer, const char* text);

}  // namespace instkit
