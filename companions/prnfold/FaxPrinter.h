#pragma once
#include <windows.h>

#include <string>

// The fax printer as the spooler keeps it: Wine's PostScript driver under a driver name of the device's own, and a
// port that is a file in the suite's temporary folder, so that every print job lands where the fax side takes it.
struct FaxPrinterSpec {
    std::string name;          // e.g. "LUMENPOST Fax"
    std::string deviceDriver;  // the device's driver file (may not exist yet): listed among the driver's files
    std::string port;          // the file each job is written to
};

// The port for the suite's temporary folder as KDM540.INI in the Windows folder names it ("TempPath"); empty
// when the file names none. Setup writes that file before the registry settings, so it is the one source here.
std::string FaxPortFromDeviceIni();

// Puts the driver's printer description into the folder the spooler takes driver files from.
bool StageDriverData(HMODULE module);

// Adds the driver, the port and the printer, or moves a printer of that name that is already there onto them.
// The printer becomes the default only when the machine has no usable default printer. False, with the last
// error set, when the spooler refused a step.
bool InstallFaxPrinter(HMODULE module, const FaxPrinterSpec& spec);
