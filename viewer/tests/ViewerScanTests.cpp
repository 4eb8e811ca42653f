#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "companions/twain/source/resource.h"
#include "framework/testing/Scripted.h"
#include "framework/testing/TempFolder.h"
#include "viewer/ViewerApp.h"
#include "viewer/resource.h"

// Scanning in the Viewer's main window with the real manager and the scanner's source that the harness placed in
// the Windows folder, as Setup does; this test does what the user does in their windows.
namespace {
class CTestViewerApp : public CViewerApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

const std::string kScannerSource = WindowsFolder() + "\\twain_32\\ORVEX\\KDMTW.DS";

std::string DefaultSource() {
    char path[MAX_PATH] = {};
    GetProfileStringA("TWAIN", "Default Source", "", path, sizeof path);
    return path;
}

// A page's pixels as the document holds them: the packed bitmap's rows.
std::vector<uint8_t> Pixels(HGLOBAL image) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(image));
    const auto* bits =
        reinterpret_cast<const uint8_t*>(header) + header->biSize + 4 * (header->biClrUsed ? header->biClrUsed : 2);
    std::vector<uint8_t> pixels(bits, bits + ((header->biWidth + 31) / 32 * 4) * std::abs(header->biHeight));
    GlobalUnlock(image);
    return pixels;
}

class ViewerScanTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.LoadSuiteSettings(IDS_REG_ERROR));
        // The probe's answer holds for a process; each test starts as a new Viewer would.
        ProcessTwainManager().availability = TwainManagerLink::Availability::kNotProbed;
        WriteProfileStringA("TWAIN", "Default Source", kScannerSource.c_str());
        ASSERT_TRUE(m_app.CreateMainWindow());
        ShowWindow(Frame(), SW_SHOW);
        UpdateWindow(Frame());
    }
    void TearDown() override { m_app.DestroyMainWindow(); }

    HWND Frame() { return m_app.Frame().GetSafeHwnd(); }
    CViewerScanner& Scanner() { return m_app.Frame().Scanner(); }
    CViewerDoc& Doc() { return m_app.Document(); }
    void Command(UINT id) { SendMessageA(Frame(), WM_COMMAND, id, 0); }
    bool Enabled(UINT id) {
        CCmdUI ui(id);
        return m_app.Frame().RouteUpdate(ui) && ui.Enabled();
    }
    // The program's loop, each message offered to the scanner first, until `done`.
    bool RunUntil(const std::function<bool()>& done) {
        for (DWORD start = GetTickCount(); !done();) {
            if (GetTickCount() - start > 10000)
                return false;
            MSG msg;
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                Sleep(1);
                continue;
            }
            if (!Scanner().ProcessMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return true;
    }
    HWND ScannerWindow() { return FindWindowA(nullptr, "KDM-540 扫描仪"); }
    void Scan(int pages) {
        HWND window = ScannerWindow();
        CheckRadioButton(window, IDC_STANDARD, IDC_FINE, IDC_FINE);
        CheckRadioButton(window, IDC_TEST_SHEETS, IDC_FOLDER_PICTURES, IDC_TEST_SHEETS);
        SetDlgItemInt(window, IDC_PAGES, pages, FALSE);
        SendMessageA(GetDlgItem(window, IDC_SCAN), BM_CLICK, 0, 0);
    }
    std::string ScanFile() { return m_settings.RecvFolder() + "scanfile.smh"; }
    std::vector<std::vector<uint8_t>> PagePixels() {
        std::vector<std::vector<uint8_t>> pages;
        for (uint32_t n = 1; n <= Doc().PageCount(); ++n) {
            if (Doc().CurrentPageNumber() != n)
                SendMessageA(Frame(), WM_COMMAND, ID_PAGE_NEXT, 0);
            pages.push_back(Pixels(Doc().CurrentImage()));
        }
        return pages;
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CTestViewerApp m_app;
    CScriptedMessageBoxes m_boxes;
    CScopedSeam<IMessageBoxes> m_seam{m_boxes};
};
}  // namespace

TEST_F(ViewerScanTest, WithoutAManagerInTheWindowsFolderScanningIsOffAndNothingIsSaid) {
    const std::string manager = WindowsFolder() + "\\TWAIN_32.DLL";
    ASSERT_TRUE(MoveFileExA(manager.c_str(), (manager + ".aside").c_str(), MOVEFILE_REPLACE_EXISTING));
    Scanner().Start();
    MoveFileExA((manager + ".aside").c_str(), manager.c_str(), MOVEFILE_REPLACE_EXISTING);
    EXPECT_EQ(Scanner().State(), 1);
    EXPECT_FALSE(Enabled(ID_FILE_SELECT_SOURCE));
    EXPECT_FALSE(Enabled(ID_FILE_ACQUIRE));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ViewerScanTest, TheManagersChooserMakesTheScannerTheDefault) {
    WriteProfileStringA("TWAIN", "Default Source", nullptr);
    Scanner().Start();
    ASSERT_EQ(Scanner().State(), 3);
    EXPECT_TRUE(Enabled(ID_FILE_SELECT_SOURCE));
    // The chooser is modal in this thread; another thread picks the scanner in it, as the user would.
    std::thread user([] {
        HWND chooser = nullptr;
        for (int i = 0; i < 500 && !chooser; ++i, Sleep(10))
            chooser = FindWindowA(nullptr, "选择来源");
        HWND list = GetDlgItem(chooser, 1000);
        const LRESULT row = SendMessageA(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("KDM-540 扫描仪"));
        SendMessageA(list, LB_SETCURSEL, row, 0);
        SendMessageA(chooser, WM_COMMAND, IDOK, 0);
    });
    Command(ID_FILE_SELECT_SOURCE);
    user.join();
    EXPECT_EQ(Scanner().State(), 3) << "the state it had";
    EXPECT_EQ(lstrcmpiA(DefaultSource().c_str(), kScannerSource.c_str()), 0) << DefaultSource();
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(ViewerScanTest, ThreePagesScannedInOnePassBecomeADocumentWithItsScanFile) {
    Scanner().Start();
    ASSERT_TRUE(Enabled(ID_FILE_ACQUIRE));
    Command(ID_FILE_ACQUIRE);
    ASSERT_EQ(Scanner().State(), 5);
    ASSERT_TRUE(ScannerWindow());
    EXPECT_FALSE(Enabled(ID_FILE_ACQUIRE)) << "not while the scanner is up";
    Scan(3);
    ASSERT_TRUE(RunUntil([&] { return Scanner().State() == 3; }));
    EXPECT_EQ(Doc().PageCount(), 3u);
    EXPECT_EQ(Doc().CurrentPageNumber(), 1u);
    EXPECT_EQ(Doc().FilePath(), ScanFile());
    EXPECT_FALSE(ScannerWindow());
    EXPECT_TRUE(IsWindowEnabled(Frame()));
    EXPECT_TRUE(Enabled(ID_FILE_SAVE_AS)) << "a scanned document can be kept and sent like a fax";
    EXPECT_TRUE(m_boxes.Calls().empty());

    const auto scanned = PagePixels();
    ASSERT_TRUE(m_app.OpenDocumentFile(ScanFile()));
    EXPECT_EQ(PagePixels(), scanned) << "the scan file holds the pages as they were delivered";
}

TEST_F(ViewerScanTest, AcquiringOverPagesAsksFirstAndAScannerClosedUnusedChangesNothing) {
    Scanner().Start();
    Command(ID_FILE_ACQUIRE);
    Scan(1);
    ASSERT_TRUE(RunUntil([&] { return Scanner().State() == 3; }));
    ASSERT_EQ(Doc().PageCount(), 1u);

    m_boxes.Answer(IDCANCEL);
    Command(ID_FILE_ACQUIRE);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "这个文件会被删除，确定否？");
    EXPECT_EQ(m_boxes.Calls()[0].type, UINT(MB_ICONQUESTION | MB_OKCANCEL));
    EXPECT_EQ(Scanner().State(), 3);
    EXPECT_EQ(Doc().PageCount(), 1u) << "Cancel keeps the pages";
    EXPECT_EQ(Doc().FilePath(), ScanFile());

    m_boxes.Answer(IDOK);
    Command(ID_FILE_ACQUIRE);
    EXPECT_EQ(Scanner().State(), 5);
    EXPECT_EQ(Doc().PageCount(), 0u) << "OK empties the document first";
    EXPECT_TRUE(Doc().FilePath().empty());
    SendMessageA(ScannerWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(RunUntil([&] { return Scanner().State() == 3; }));
    EXPECT_EQ(Doc().PageCount(), 0u);
    EXPECT_TRUE(Doc().FilePath().empty()) << "nothing scanned, nothing adopted";

    // The next scan adopts the scan file again.
    Command(ID_FILE_ACQUIRE);
    Scan(2);
    ASSERT_TRUE(RunUntil([&] { return Scanner().State() == 3; }));
    EXPECT_EQ(Doc().PageCount(), 2u);
    EXPECT_EQ(Doc().FilePath(), ScanFile());
}

TEST_F(ViewerScanTest, AClosedViewerWaitsForItsScannerThenLetsManagerAndScannerGo) {
    Scanner().Start();
    Command(ID_FILE_ACQUIRE);
    ASSERT_TRUE(GetModuleHandleA("KDMTW.DS"));
    SendMessageA(Frame(), WM_CLOSE, 0, 0);  // from outside: the Viewer's own ways are disabled under the scanner
    EXPECT_TRUE(IsWindow(Frame()) && ScannerWindow()) << "a close waits while the scanner is open";
    SendMessageA(ScannerWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(RunUntil([&] { return Frame() == nullptr; }));
    EXPECT_EQ(Scanner().State(), 1);
    EXPECT_FALSE(ScannerWindow());
    EXPECT_FALSE(GetModuleHandleA("KDMTW.DS"));
    EXPECT_FALSE(GetModuleHandleA("TWAIN_32.DLL"));
}

TEST_F(ViewerScanTest, AScanFileThatCannotBeCopiedLeavesThePagesWithoutAFile) {
    CreateFolderPath(ScanFile());  // a folder by the file's name cannot be written over
    Scanner().Start();
    Command(ID_FILE_ACQUIRE);
    Scan(1);
    ASSERT_TRUE(RunUntil([&] { return Scanner().State() == 3; }));
    RemoveDirectoryA(ScanFile().c_str());
    EXPECT_EQ(Doc().PageCount(), 1u);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].text, "Failed to save document.");
    EXPECT_TRUE(Doc().FilePath().empty()) << "no file that is not these pages";
    EXPECT_FALSE(Enabled(ID_FILE_SAVE_AS));
}
