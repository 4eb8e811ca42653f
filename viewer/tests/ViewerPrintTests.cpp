#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/ViewerApp.h"
#include "viewer/resource.h"

// Printing through Wine's PostScript driver to a printer whose port is a file, so each job lands on disk.
namespace {
constexpr char kPrinter[] = "Mirolo Test Printer";
constexpr char kDriver[] = "Wine PostScript Driver";

class CTestViewerApp : public CViewerApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

// The printer description kept with the sources, reached through Wine's Z: drive.
std::string TestPpd() {
    return ReadFileBytes("Z:" MIROLO_SOURCE_DIR "/tools/printer/test-printer.ppd");
}

// Installs the printer on a port that is the file `output`; true when it can print.
bool InstallFilePrinter(const std::string& output) {
    char drivers[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(drivers), sizeof drivers, &needed))
        return false;
    const std::string ppd = TestPpd();
    if (ppd.empty())
        return false;
    WriteFileBytes(std::string(drivers) + "\\mirolo.ppd", ppd);
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriver);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>("mirolo.ppd");
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver));

    HANDLE xcv = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    if (OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), &xcv, &access)) {
        std::wstring port(output.begin(), output.end());
        DWORD status = 0;
        XcvDataW(xcv, L"AddPort", reinterpret_cast<BYTE*>(port.data()),
                 static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
        ClosePrinter(xcv);
    }
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(kPrinter);
    info.pPortName = const_cast<char*>(output.c_str());
    info.pDriverName = const_cast<char*>(kDriver);
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (printer)
        ClosePrinter(printer);
    return true;
}

void RemovePrinter() {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char*>(kPrinter), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

size_t Count(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size()))
        ++count;
    return count;
}
}  // namespace

TEST(ViewerPrint, EachPageOfTheRangeIsOneSheetAndTheCurrentPageComesBack) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    const std::string output = install.Path() + "job.ps";
    ASSERT_TRUE(InstallFilePrinter(output));
    CTestViewerApp app;
    ASSERT_TRUE(app.LoadSuiteSettings(IDS_REG_ERROR));
    ASSERT_TRUE(app.CreateMainWindow());

    std::vector<SmhPageSpec> pages;
    for (uint32_t i = 0; i < 3; ++i)
        pages.emplace_back(mh::EncodeMh(mh::RandomPage(1728, 200 + 10 * i, 4, 7 + i)));
    const std::vector<uint8_t> fax = BuildSmhDocument(MakeSmhHeader(3), pages);
    const std::string path = settings.RecvFolder() + "three.smh";
    WriteFileBytes(path, std::string(fax.begin(), fax.end()));
    ASSERT_TRUE(app.OpenDocumentFile(path));
    SendMessageA(app.Frame().GetSafeHwnd(), WM_COMMAND, ID_PAGE_NEXT, 0);
    ASSERT_EQ(app.Document().CurrentPageNumber(), 2u);

    CScriptedCommonDialogs dialogs;
    CScopedSeam<ICommonDialogs> seam(dialogs);
    HDC printer = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
    ASSERT_NE(printer, nullptr);
    dialogs.ChoosePrinter(printer);
    SendMessageA(app.Frame().GetSafeHwnd(), WM_COMMAND, ID_FILE_PRINT, 0);

    ASSERT_EQ(dialogs.PrintCalls().size(), 1u);
    EXPECT_EQ(dialogs.PrintCalls()[0].minPage, 1);
    EXPECT_EQ(dialogs.PrintCalls()[0].maxPage, 3);
    EXPECT_EQ(app.Document().CurrentPageNumber(), 2u) << "the page shown before printing is shown again";
    std::string job;
    for (int i = 0; i < 100 && Count(job, "%%Page:") < 3; ++i, Sleep(50))
        job = ReadFileBytes(output);
    EXPECT_EQ(Count(job, "%%Page:"), 3u) << job.size() << " bytes of PostScript";

    // Pages 2 to 3 only.
    printer = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
    ASSERT_NE(printer, nullptr);
    DeleteFileA(output.c_str());
    dialogs.ChoosePrinter(printer, 2, 3);
    SendMessageA(app.Frame().GetSafeHwnd(), WM_COMMAND, ID_FILE_PRINT, 0);
    job.clear();
    for (int i = 0; i < 100 && Count(job, "%%Page:") < 2; ++i, Sleep(50))
        job = ReadFileBytes(output);
    EXPECT_EQ(Count(job, "%%Page:"), 2u);
    app.DestroyMainWindow();
    RemovePrinter();
}
