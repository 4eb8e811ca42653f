#pragma once
#include <windows.h>

#include <string>

// A printer driver the spooler of the test prefix accepts: Wine's PostScript driver with the sources' printer
// description, under a name of the tests' own. The spooler adds a printer only with a driver of its own
// environment, so the tests install that one, and the library adds the installer's environment's.
inline constexpr char kTestDriver[] = "Instkit Test Driver";
inline constexpr char kTestMonitor[] = "Instkit Test Monitor";
inline constexpr char kTestProcessor[] = "InstkitProc";

bool PrepareTestDriver();

struct TestPrinterChoices {
    const char* processor = "";
    const char* monitor = "";
    const char* idKey = "";
    DWORD options = 0;
    const char* driver = kTestDriver;
    const char* dependentFiles = "instkit.dll\0INSTKIT.HLP\0";  // the literal adds the list's closing NUL
};

// Through the library's InstallPrinter, on port "FILE:".
DWORD InstallTestPrinter(const char* name, const TestPrinterChoices& choices);

bool PrinterExists(const std::string& name);

// The printer's level-2 record fields the tests look at.
struct PrinterRead {
    DWORD attributes = 0;
    std::string port;
    std::string driver;
    std::string processor;
    DWORD printerId = 0;
    bool hasPrinterId = false;
};
PrinterRead ReadPrinter(const std::string& name);

bool DriverExists(const char* environment, const std::string& name);
bool MonitorExists(const std::string& name);
bool ProcessorExists(const std::string& name);

// Removes what a test left behind, without the library.
void RemoveTestPrinter(const std::string& name);
