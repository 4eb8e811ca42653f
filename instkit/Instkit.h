#pragma once
#include <windows.h>

// Install and uninstall services for an installer of printer-type devices: printers with their driver, print
// processor and port monitor, the spooler's printer, port and driver lists, program groups, files replaced at the
// next restart, and colour profiles. The library keeps its lists and flags per process, without locking: one
// installer thread calls it.
//
// Buffers the library fills: every name buffer a caller hands in holds at least INSTKIT_NAME_BUFFER bytes; a longer
// name is cut at a whole character.

#define INSTKIT_NAME_BUFFER 260

// InstallPrinter option bits.
#define INSTKIT_MAKE_DEFAULT 0x1
#define INSTKIT_QUEUE_JOBS 0x2

// UnInstallPrinter result bits.
#define INSTKIT_PRINTER_DELETED 0x1
#define INSTKIT_DRIVER_DELETED 0x2
#define INSTKIT_MONITOR_REMOVED 0x4
#define INSTKIT_PROCESSOR_REMOVED 0x8

#ifdef __cplusplus
extern "C" {
#endif

// Started like a command-line library function; only the command line is read: "word [setup folder]". Schedules
// the vendor setup program to run at the next logon with the word.
void WINAPI SelectSetup(HWND window, HINSTANCE instance, LPSTR commandLine, int show);
// Uninstalls the printer named by the command line, then starts the vendor setup program of the most recent
// install location.
void WINAPI SelectVendorSetup(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

// dependentFiles: NUL-terminated names ended by an empty one. idKey: a key under HKEY_LOCAL_MACHINE whose 32-bit
// value "PrinterID" becomes the printer's data value of that name. An empty processor adds none and uses
// "WinPrint"; an empty monitor adds none. Nonzero when the printer was installed.
DWORD WINAPI InstallPrinter(LPCSTR printerName,
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
                            DWORD driverVersion);
// Removes the printer and whatever of its driver, print processor and port monitor no other printer needs; the
// printer's "PrinterID" (0 without one) goes to printerId when given. INSTKIT_ result bits; 0 when not found.
DWORD WINAPI UnInstallPrinter(LPCSTR printerName, DWORD* printerId);

// The shell's browser of network printers. buttonTexts: "title|OK|Cancel|", the last character being the
// delimiter. path (INSTKIT_NAME_BUFFER bytes) receives the chosen printer's path, or is emptied. Nonzero when a
// path was chosen.
DWORD WINAPI AddNetPort(HWND owner, LPCSTR buttonTexts, LPCSTR title, LPSTR path);

// Cursor lists. Each Create call returns the number of entries and rewinds; each GetNext call fills the entry at
// the cursor and moves on. Past the last entry, the names come back empty.
DWORD __cdecl CreatePrinterList(void);
void WINAPI GetNextPrinterData(LPSTR name, LPSTR driverOrNull, LPSTR processorOrNull);
void __cdecl FreePrinterList(void);
DWORD __cdecl CreatePortList(void);
void WINAPI GetNextPortData(LPSTR name);
void __cdecl FreePortList(void);
DWORD __cdecl CreateDriverList(void);
// How many drivers of the driver list use the file (the driver of the last uninstalled printer not counted while
// it is used by no printer): a file may be deleted when none does.
WORD WINAPI IsFileInDrvList(LPCSTR fileName);
void __cdecl FreeDriverList(void);

// Moves source over destination (deletes it when destination is NULL) at the next restart. 1 when scheduled.
DWORD WINAPI ReplaceFileOnReboot(LPCSTR destination, LPCSTR source);

DWORD __cdecl GetDefaultLangID(void);

// command 1 installs the profile and associates it with the device; any other goes to GDI's UpdateICMRegKeyA.
// 0 when the colour functions are missing.
DWORD WINAPI UpdateICMInfo(LPCSTR deviceName, LPCSTR profileFile, UINT command);

// Program groups in the Start menu's Programs folder. AddItem32 saves "description.lnk" in the group that the
// last CreateGroup32 or DeleteGroup32 named; the calling thread has initialised COM.
DWORD WINAPI CreateGroup32(LPCSTR groupName);
HRESULT WINAPI AddItem32(LPCSTR targetPath, LPCSTR description);
BOOL WINAPI DeleteGroup32(HWND owner, LPCSTR groupName);

#ifdef __cplusplus
}
#endif
