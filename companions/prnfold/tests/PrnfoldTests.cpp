#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/DeviceIniScope.h"
#include "framework/testing/TempFolder.h"
#include "tools/process/RemoteControl.h"

// The library as Setup uses it: loaded by name, its two calls looked up by name; then the spooler is asked what
// it holds. The printer and what came with it go again at the end, since the prefix is shared.
namespace {
constexpr char kPrinter[] = "LUMENPOST Fax";
constexpr char kDriver[] = "LUMENPOST Fax Driver";
constexpr char kDeviceDriver[] = "C:\\windows\\system32\\KDMFX.DRV";
constexpr char kOtherPrinter[] = "Prnfold Test Default";

using InitCall = void (*)();
using EntryCall = BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD);

struct PrinterRow {
    std::string name, port, driver, comment;
};

std::vector<PrinterRow> PrintersNamed(const std::string& name) {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    std::vector<PrinterRow> rows;
    if (!needed || !EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count))
        return rows;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (info[i].pPrinterName == name)
            rows.push_back({info[i].pPrinterName, info[i].pPortName ? info[i].pPortName : "",
                            info[i].pDriverName ? info[i].pDriverName : "", info[i].pComment ? info[i].pComment : ""});
    }
    return rows;
}

// The driver's data file and dependent files (NUL-separated, shown with '|').
std::pair<std::string, std::string> DriverFiles(const std::string& driver) {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversA(nullptr, nullptr, 3, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (!needed || !EnumPrinterDriversA(nullptr, nullptr, 3, buffer.data(), needed, &needed, &count))
        return {};
    const auto* info = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (info[i].pName != driver)
            continue;
        std::string dependents;
        for (const char* file = info[i].pDependentFiles; file && *file; file += strlen(file) + 1)
            dependents += std::string(file) + "|";
        return {info[i].pDataFile ? info[i].pDataFile : "", dependents};
    }
    return {};
}

std::string DefaultPrinter() {
    char name[256] = {};
    DWORD size = sizeof name;
    return GetDefaultPrinterA(name, &size) ? name : "";
}

bool PrinterExists(const std::string& name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

void DeletePrinterNamed(const std::string& name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

void DeleteFilePort(const std::string& port) {
    HANDLE monitor = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    if (!OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), &monitor, &access))
        return;
    std::wstring name(port.begin(), port.end());
    DWORD needed = 0, status = 0;
    XcvDataW(monitor, L"DeletePort", reinterpret_cast<BYTE*>(name.data()),
             static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
    ClosePrinter(monitor);
}

bool PrintRaw(const std::string& printerName, const std::string& bytes) {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName.c_str()), &printer, nullptr))
        return false;
    DOC_INFO_1A doc{const_cast<char*>("fax"), nullptr, const_cast<char*>("RAW")};
    DWORD written = 0;
    const bool done =
        StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&doc)) &&
        WritePrinter(printer, const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()), &written) &&
        EndDocPrinter(printer);
    ClosePrinter(printer);
    return done && written == bytes.size();
}

class PrnfoldTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_library = LoadLibraryA(BuiltProgram("Prnfold.dll").c_str());
        ASSERT_NE(m_library, nullptr);
        m_init =
            reinterpret_cast<InitCall>(reinterpret_cast<void*>(GetProcAddress(m_library, "PrinterFoldarEntryInit")));
        m_entry = reinterpret_cast<EntryCall>(reinterpret_cast<void*>(GetProcAddress(m_library, "PrinterFoldarEntry")));
        ASSERT_NE(m_init, nullptr);
        ASSERT_NE(m_entry, nullptr);
        m_defaultBefore = DefaultPrinter();
        m_hadUsableDefault = !m_defaultBefore.empty() && PrinterExists(m_defaultBefore);
        UseTempFolder(m_temp.Path());
    }

    void TearDown() override {
        DeletePrinterNamed(kOtherPrinter);
        DeletePrinterNamed(kPrinter);
        DeletePrinterDriverA(nullptr, nullptr, const_cast<char*>(kDriver));
        for (const std::string& port : m_ports)
            DeleteFilePort(port);
        if (m_hadUsableDefault)
            SetDefaultPrinterA(m_defaultBefore.c_str());
        if (m_library)
            FreeLibrary(m_library);
    }

    // `folder` may end in a backslash.
    void UseTempFolder(const std::string& folder) {
        std::string trimmed = folder;
        while (!trimmed.empty() && trimmed.back() == '\\')
            trimmed.pop_back();
        m_ini.WriteTempPath(folder);
        m_ports.push_back(trimmed + "\\FAXPRINT.PRN");
    }

    BOOL Entry(const char* name = kPrinter) { return m_entry(nullptr, name, kDeviceDriver, 0); }

    CTempFolder m_temp;
    CDeviceIniScope m_ini;
    HMODULE m_library = nullptr;
    InitCall m_init = nullptr;
    EntryCall m_entry = nullptr;
    std::string m_defaultBefore;
    bool m_hadUsableDefault = false;
    std::vector<std::string> m_ports;
};
}  // namespace

TEST_F(PrnfoldTest, TheFaxPrinterAppearsOnceOnItsFilePortAndItsJobsLandInTheFile) {
    m_init();
    ASSERT_TRUE(Entry());
    const std::string port = m_temp.Path() + "FAXPRINT.PRN";
    std::vector<PrinterRow> rows = PrintersNamed(kPrinter);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].port, port);
    EXPECT_EQ(rows[0].driver, kDriver);
    EXPECT_FALSE(rows[0].comment.empty());
    const auto [dataFile, dependents] = DriverFiles(kDriver);
    EXPECT_EQ(ReadFileBytes(dataFile), ReadFileBytes("Z:" MIROLO_SOURCE_DIR "/tools/printer/test-printer.ppd"))
        << dataFile;
    EXPECT_NE(dependents.find("KDMFX.DRV|"), std::string::npos) << dependents;
    EXPECT_EQ(DefaultPrinter(), m_hadUsableDefault ? m_defaultBefore : std::string(kPrinter))
        << "the fax printer is the default only on a machine without one";

    // A second installation keeps the one printer.
    m_init();
    ASSERT_TRUE(Entry());
    rows = PrintersNamed(kPrinter);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].port, port);

    const std::string job = "%!PS-Adobe-3.0\n%%Title: fax job\n%%EOF\n";
    ASSERT_TRUE(PrintRaw(kPrinter, job));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(port) == job; }, 10000)) << ReadFileBytes(port);
}

TEST_F(PrnfoldTest, AReinstallMovesThePrinterToTheNewTempFolderAndKeepsTheUsersSettings) {
    ASSERT_TRUE(Entry());
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(kPrinter), &printer, &access));
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterA(printer, 2, buffer.data(), needed, &needed));
    reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())->pComment = const_cast<char*>("前台的传真");
    reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())->pSecurityDescriptor = nullptr;
    ASSERT_TRUE(SetPrinterA(printer, 2, buffer.data(), 0));
    ClosePrinter(printer);

    CTempFolder moved;
    UseTempFolder(moved.Path());  // with its trailing backslash
    ASSERT_TRUE(Entry());
    const std::vector<PrinterRow> rows = PrintersNamed(kPrinter);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].port, moved.Path() + "FAXPRINT.PRN");
    EXPECT_EQ(rows[0].comment, "前台的传真");
    ASSERT_TRUE(PrintRaw(kPrinter, "moved"));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(moved.Path() + "FAXPRINT.PRN") == "moved"; }, 10000));
}

TEST_F(PrnfoldTest, ADefaultPrinterTheUserChoseStaysTheDefault) {
    ASSERT_TRUE(Entry());
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(kOtherPrinter);
    info.pPortName = const_cast<char*>(m_ports.back().c_str());
    info.pDriverName = const_cast<char*>(kDriver);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE other = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    ASSERT_NE(other, nullptr);
    ClosePrinter(other);
    ASSERT_TRUE(SetDefaultPrinterA(kOtherPrinter));

    ASSERT_TRUE(Entry());
    EXPECT_EQ(DefaultPrinter(), kOtherPrinter);
}

TEST_F(PrnfoldTest, WithoutTheSuitesTempFolderOrWithBadArgumentsNoPrinterIsAdded) {
    m_ini.Write("[COMMON]\r\nProgPath=C:\\LUMENPOST\r\n");
    SetLastError(0);
    EXPECT_FALSE(Entry());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(PrintersNamed(kPrinter).empty());

    UseTempFolder(m_temp.Path());
    EXPECT_FALSE(m_entry(nullptr, nullptr, kDeviceDriver, 0));
    EXPECT_FALSE(m_entry(nullptr, "", kDeviceDriver, 0));
    EXPECT_FALSE(m_entry(nullptr, kPrinter, kDeviceDriver, 1));
    EXPECT_FALSE(Entry(std::string(250, 'P').c_str()));
    EXPECT_TRUE(PrintersNamed(kPrinter).empty());
}
