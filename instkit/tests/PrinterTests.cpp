#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "instkit/Instkit.h"
#include "instkit/tests/InstkitDll.h"
#include "instkit/tests/PrinterTesting.h"

// Printers with their driver, processor and monitor, installed and removed through the library and read back
// through the spooler.
namespace {
constexpr char kEnvironment[] = "Windows 4.0";
constexpr char kFirst[] = "Instkit 传真机";
constexpr char kSecond[] = "Instkit Second";
constexpr char kIdKey[] = "Software\\Orvex\\InstkitTest";

class PrinterTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareTestDriver()); }
    void TearDown() override {
        RemoveTestPrinter(kFirst);
        RemoveTestPrinter(kSecond);
        DeletePrinterDriverA(nullptr, const_cast<char*>(kEnvironment), const_cast<char*>(kTestDriver));
        DeletePrinterDriverA(nullptr, const_cast<char*>(kEnvironment), const_cast<char*>("Instkit Other Driver"));
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Print\\Monitors\\Instkit Test Monitor");
        DeletePrintProcessorA(nullptr, nullptr, const_cast<char*>(kTestProcessor));
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kIdKey);
    }
};

std::set<std::string> SpoolerNames(DWORD level, bool ports) {
    DWORD needed = 0;
    DWORD count = 0;
    const auto enumerate = [&](BYTE* block, DWORD size) {
        return ports ? EnumPortsA(nullptr, level, block, size, &needed, &count)
                     : EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, level, block, size, &needed, &count);
    };
    enumerate(nullptr, 0);
    std::vector<BYTE> block(needed + 1);
    std::set<std::string> names;
    if (!enumerate(block.data(), needed))
        return names;
    for (DWORD i = 0; i < count; ++i) {
        names.insert(ports ? reinterpret_cast<PORT_INFO_1A*>(block.data())[i].pName
                           : reinterpret_cast<PRINTER_INFO_4A*>(block.data())[i].pPrinterName);
    }
    return names;
}
}  // namespace

TEST_F(PrinterTest, InstallsWithItsDriverProcessorAndMonitorChoices) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kIdKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD id = 0x540;
    RegSetValueExA(key, "PrinterID", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&id), sizeof id);
    RegCloseKey(key);

    TestPrinterChoices choices;
    choices.processor = kTestProcessor;
    choices.monitor = kTestMonitor;
    choices.idKey = kIdKey;
    choices.options = INSTKIT_MAKE_DEFAULT | INSTKIT_QUEUE_JOBS;
    EXPECT_NE(InstallTestPrinter(kFirst, choices), 0u);

    const PrinterRead printer = ReadPrinter(kFirst);
    EXPECT_EQ(
        printer.attributes & (PRINTER_ATTRIBUTE_DEFAULT | PRINTER_ATTRIBUTE_QUEUED | PRINTER_ATTRIBUTE_ENABLE_BIDI),
        static_cast<DWORD>(PRINTER_ATTRIBUTE_DEFAULT | PRINTER_ATTRIBUTE_QUEUED | PRINTER_ATTRIBUTE_ENABLE_BIDI));
    EXPECT_EQ(printer.port, "FILE:");
    EXPECT_EQ(printer.driver, kTestDriver);
    EXPECT_EQ(printer.processor, kTestProcessor);
    EXPECT_TRUE(printer.hasPrinterId);
    EXPECT_EQ(printer.printerId, id);
    EXPECT_TRUE(DriverExists(kEnvironment, kTestDriver));
    EXPECT_TRUE(MonitorExists(kTestMonitor));
    EXPECT_TRUE(ProcessorExists(kTestProcessor));

    // The last printer of its driver takes the driver, its processor and its monitor with it.
    DWORD readId = 0;
    EXPECT_EQ(Instkit().UnInstallPrinter("INSTKIT 传真机", &readId),
              static_cast<DWORD>(INSTKIT_PRINTER_DELETED | INSTKIT_DRIVER_DELETED | INSTKIT_MONITOR_REMOVED |
                                 INSTKIT_PROCESSOR_REMOVED));
    EXPECT_EQ(readId, id);
    EXPECT_FALSE(PrinterExists(kFirst));
    EXPECT_FALSE(DriverExists(kEnvironment, kTestDriver));
    EXPECT_FALSE(MonitorExists(kTestMonitor));
}

TEST_F(PrinterTest, WithoutProcessorOrMonitorNoneIsAddedAndNoneRemoved) {
    EXPECT_NE(InstallTestPrinter(kFirst, {}), 0u);
    const PrinterRead printer = ReadPrinter(kFirst);
    EXPECT_EQ(printer.processor, "WinPrint");
    EXPECT_EQ(
        printer.attributes & (PRINTER_ATTRIBUTE_DEFAULT | PRINTER_ATTRIBUTE_QUEUED | PRINTER_ATTRIBUTE_ENABLE_BIDI),
        0u);
    EXPECT_FALSE(printer.hasPrinterId);
    EXPECT_FALSE(MonitorExists(kTestMonitor));

    // The system's own processor stays, though this was its last printer.
    DWORD id = 7;
    EXPECT_EQ(Instkit().UnInstallPrinter(kFirst, &id),
              static_cast<DWORD>(INSTKIT_PRINTER_DELETED | INSTKIT_DRIVER_DELETED));
    EXPECT_EQ(id, 0u);
    EXPECT_TRUE(ProcessorExists("WinPrint"));
}

TEST_F(PrinterTest, AnEmptyOrUnknownNameRemovesNothing) {
    ASSERT_NE(InstallTestPrinter(kFirst, {}), 0u);
    DWORD id = 7;
    EXPECT_EQ(Instkit().UnInstallPrinter("", &id), 0u);
    EXPECT_EQ(Instkit().UnInstallPrinter(nullptr, &id), 0u);
    EXPECT_EQ(Instkit().UnInstallPrinter("Instkit No Such Printer", &id), 0u);
    EXPECT_EQ(id, 7u);
    EXPECT_TRUE(PrinterExists(kFirst));
    EXPECT_TRUE(DriverExists(kEnvironment, kTestDriver));
    // An empty name would open the print server, not a printer.
    EXPECT_EQ(InstallTestPrinter("", {}), 0u);
}

TEST_F(PrinterTest, ASharedDriverStaysUntilItsLastPrinterGoes) {
    TestPrinterChoices withMonitor;
    withMonitor.monitor = kTestMonitor;
    withMonitor.processor = kTestProcessor;
    // An uninstall leaves the driver orphaned; installing it again makes its files count again.
    ASSERT_NE(InstallTestPrinter(kFirst, {}), 0u);
    ASSERT_EQ(Instkit().UnInstallPrinter(kFirst, nullptr) & INSTKIT_DRIVER_DELETED, INSTKIT_DRIVER_DELETED);
    ASSERT_NE(InstallTestPrinter(kFirst, withMonitor), 0u);
    ASSERT_NE(InstallTestPrinter(kSecond, withMonitor), 0u);
    Instkit().CreateDriverList();
    EXPECT_EQ(Instkit().IsFileInDrvList("INSTKIT.DLL"), 1u);
    EXPECT_EQ(Instkit().IsFileInDrvList("instkit.hlp"), 1u);
    EXPECT_EQ(Instkit().IsFileInDrvList("other.dll"), 0u);
    Instkit().FreeDriverList();

    EXPECT_EQ(Instkit().UnInstallPrinter(kFirst, nullptr), static_cast<DWORD>(INSTKIT_PRINTER_DELETED));
    EXPECT_TRUE(DriverExists(kEnvironment, kTestDriver));
    EXPECT_TRUE(MonitorExists(kTestMonitor));
    Instkit().CreateDriverList();
    EXPECT_EQ(Instkit().IsFileInDrvList("instkit.dll"), 1u);
    Instkit().FreeDriverList();

    EXPECT_EQ(Instkit().UnInstallPrinter(kSecond, nullptr),
              static_cast<DWORD>(INSTKIT_PRINTER_DELETED | INSTKIT_DRIVER_DELETED | INSTKIT_MONITOR_REMOVED |
                                 INSTKIT_PROCESSOR_REMOVED));
    Instkit().CreateDriverList();
    EXPECT_EQ(Instkit().IsFileInDrvList("instkit.dll"), 0u);
    Instkit().FreeDriverList();
}

TEST_F(PrinterTest, AMonitorAnotherDriverUsesStays) {
    TestPrinterChoices first;
    first.monitor = kTestMonitor;
    ASSERT_NE(InstallTestPrinter(kFirst, first), 0u);
    // A second driver of the installer's environment names the same monitor and a file of the first.
    DRIVER_INFO_3A other{};
    other.pName = const_cast<char*>("Instkit Other Driver");
    other.pEnvironment = const_cast<char*>(kEnvironment);
    other.pDriverPath = other.pDataFile = other.pConfigFile = const_cast<char*>("wineps.drv");
    other.pDependentFiles = const_cast<char*>("instkit.dll\0");
    other.pMonitorName = const_cast<char*>(kTestMonitor);
    ASSERT_TRUE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&other)));

    Instkit().CreateDriverList();
    EXPECT_EQ(Instkit().IsFileInDrvList("instkit.dll"), 2u);
    Instkit().FreeDriverList();
    EXPECT_EQ(Instkit().UnInstallPrinter(kFirst, nullptr),
              static_cast<DWORD>(INSTKIT_PRINTER_DELETED | INSTKIT_DRIVER_DELETED));
    EXPECT_TRUE(MonitorExists(kTestMonitor));
    Instkit().CreateDriverList();
    EXPECT_EQ(Instkit().IsFileInDrvList("instkit.dll"), 1u);
    EXPECT_EQ(Instkit().IsFileInDrvList("instkit.hlp"), 0u);
    Instkit().FreeDriverList();
}

TEST_F(PrinterTest, ListsHoldWhatTheSpoolerEnumeratesAndEndEmpty) {
    ASSERT_NE(InstallTestPrinter(kFirst, {}), 0u);
    const std::set<std::string> printers = SpoolerNames(4, false);
    ASSERT_EQ(Instkit().CreatePrinterList(), printers.size());
    std::set<std::string> walked;
    char name[INSTKIT_NAME_BUFFER];
    char driver[INSTKIT_NAME_BUFFER];
    char processor[INSTKIT_NAME_BUFFER];
    for (size_t i = 0; i < printers.size(); ++i) {
        Instkit().GetNextPrinterData(name, driver, processor);
        walked.insert(name);
        if (std::string(name) == kFirst) {
            EXPECT_STREQ(driver, kTestDriver);
            EXPECT_STREQ(processor, "WinPrint");
        }
    }
    EXPECT_EQ(walked, printers);
    Instkit().GetNextPrinterData(name, nullptr, processor);
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(processor, "");
    Instkit().FreePrinterList();
    Instkit().GetNextPrinterData(name, nullptr, nullptr);
    EXPECT_STREQ(name, "");

    const std::set<std::string> ports = SpoolerNames(1, true);
    const DWORD portCount = Instkit().CreatePortList();
    EXPECT_GE(portCount, 1u);
    std::set<std::string> walkedPorts;
    for (DWORD i = 0; i < portCount; ++i) {
        Instkit().GetNextPortData(name);
        walkedPorts.insert(name);
    }
    EXPECT_EQ(walkedPorts, ports);
    EXPECT_TRUE(walkedPorts.count("FILE:"));
    Instkit().GetNextPortData(name);
    EXPECT_STREQ(name, "");
    Instkit().FreePortList();

    DWORD needed = 0;
    DWORD count = 0;
    EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> block(needed + 1);
    EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 1, block.data(), needed, &needed, &count);
    EXPECT_EQ(Instkit().CreateDriverList(), count);
    EXPECT_GE(count, 1u);
    Instkit().FreeDriverList();
}
