#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/Twain.h"
#include "common/core/MemorySmhSource.h"
#include "common/core/SmhFormat.h"
#include "common/testing/InstalledSettings.h"
#include "companions/kdmlib/core/BmpFile.h"
#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "companions/twain/core/ScanPages.h"
#include "companions/twain/source/resource.h"
#include "framework/Profile.h"
#include "framework/testing/TempFolder.h"

// KDMTW.DS as an application meets it: through the manager in the Windows folder, with this test in the
// application's place, its own window as the parent and its own loop offering every message to the source.
namespace {
using scan::Resolution;

constexpr const char* kProductName = "KDM-540 扫描仪";

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

void SetScannerSetting(const char* name, const std::string& value) {
    CRegistryProfile("Orvex", "KDMTW").WriteString("Scanner", name, value);
}

// The pages of the scan file, decoded, and the resolution it was written at.
std::vector<kdm::BilevelImage> ScanFilePages(const std::string& path, uint32_t* selector = nullptr) {
    const std::string bytes = ReadFileBytes(path);
    CMemorySmhSource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const auto header = ReadSmhFileHeader(source);
    std::vector<kdm::BilevelImage> pages;
    for (uint32_t n = 1; header && n <= header->PageCount(); ++n) {
        const auto at = LocateSmhPage(source, *header, n);
        const auto page =
            at ? kdm::DecodeMh({reinterpret_cast<const uint8_t*>(bytes.data()) + at->dataOffset, at->codedBytes},
                               header->DecodeParam())
               : std::nullopt;
        if (!page)
            return {};
        pages.push_back(page->image);
    }
    if (header && selector)
        *selector = header->StretchSelector();
    return pages;
}

class DataSourceTest : public testing::Test {
protected:
    void SetUp() override {
        m_manager = LoadLibraryA((WindowsFolder() + "\\TWAIN_32.DLL").c_str());
        ASSERT_TRUE(m_manager) << "the harness places the manager in the Windows folder";
        m_entry = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(GetProcAddress(m_manager, "DSM_Entry")));
        ASSERT_TRUE(m_entry);
        m_window = CreateWindowExA(0, "STATIC", "application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
        m_application.ProtocolMajor = 1;
        m_application.ProtocolMinor = 7;
        m_application.SupportedGroups = DG_CONTROL | DG_IMAGE;
        ASSERT_EQ(Manager(DAT_PARENT, MSG_OPENDSM, &m_window), TWRC_SUCCESS);
        strcpy(m_source.ProductName, kProductName);
        ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &m_source), TWRC_SUCCESS);
    }
    void TearDown() override {
        if (m_entry) {
            Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &m_ui);
            Source(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_source);
            Manager(DAT_PARENT, MSG_CLOSEDSM, &m_window);
        }
        DestroyWindow(m_window);
        if (m_manager)
            FreeLibrary(m_manager);
    }

    TW_UINT16 Manager(TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
        return m_entry(&m_application, nullptr, DG_CONTROL, type, message, data);
    }
    TW_UINT16 Source(TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
        return m_entry(&m_application, &m_source, group, type, message, data);
    }
    TW_UINT16 SourceCondition() {
        TW_STATUS status{};
        Source(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        return status.ConditionCode;
    }
    TW_UINT16 Enable(bool showUI) {
        m_ui = {static_cast<TW_BOOL>(showUI), FALSE, m_window};
        return Source(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &m_ui);
    }
    // The application's loop: every message goes to the source first; what it says it is for is returned.
    TW_UINT16 WaitForNotice() {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
            MSG msg;
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                Sleep(1);
                continue;
            }
            TW_EVENT event{&msg, MSG_NULL};
            const TW_UINT16 result = Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
            if (event.TWMessage != MSG_NULL)
                return event.TWMessage;
            if (result != TWRC_DSEVENT) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return MSG_NULL;
    }
    // One page: its packed bitmap, the block freed; empty when the source did not answer TWRC_XFERDONE.
    std::vector<uint8_t> Transfer(TW_UINT16& result) {
        TW_HANDLE image = nullptr;
        result = Source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
        if (result != TWRC_XFERDONE || !image)
            return {};
        std::vector<uint8_t> dib(GlobalSize(image));
        memcpy(dib.data(), GlobalLock(image), dib.size());
        GlobalUnlock(image);
        GlobalFree(image);
        return dib;
    }
    TW_UINT16 EndTransfer() {
        TW_PENDINGXFERS pending{};
        EXPECT_EQ(Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
        return pending.Count;
    }
    // The source reads its settings and clears the scan file when it is opened.
    void Reopen() {
        EXPECT_EQ(Source(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_source), TWRC_SUCCESS);
        ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &m_source), TWRC_SUCCESS);
    }
    HWND ScannerWindow() { return FindWindowA(nullptr, "KDM-540 扫描仪"); }
    HWND Control(int id) { return GetDlgItem(ScannerWindow(), id); }
    std::string ScanFile() { return m_settings.RecvFolder() + "scantemp.smh"; }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    HMODULE m_manager = nullptr;
    DSMENTRYPROC m_entry = nullptr;
    HWND m_window = nullptr;
    TW_IDENTITY m_application{};
    TW_IDENTITY m_source{};
    TW_USERINTERFACE m_ui{};
};

// Black pixels in rows [top, bottom) of a page.
size_t BlackIn(const kdm::BilevelImage& page, uint32_t top, uint32_t bottom) {
    size_t black = 0;
    for (uint32_t y = top; y < bottom; ++y)
        for (uint32_t x = 0; x < page.width; ++x)
            black += page.Black(x, y);
    return black;
}
}  // namespace

TEST_F(DataSourceTest, TheWindowsPassesDeliverPagesAndTheScanFileKeepsAllOfTheSession) {
    WriteFileBytes(ScanFile(), "an earlier session's scan");
    Reopen();
    EXPECT_FALSE(FileExists(ScanFile())) << "not to be taken for this session's";
    ASSERT_EQ(Enable(true), TWRC_SUCCESS);
    ASSERT_TRUE(ScannerWindow());
    EXPECT_FALSE(IsWindowEnabled(m_window)) << "the application waits for its scanner";
    TW_UINT16 result;
    EXPECT_TRUE(Transfer(result).empty());
    EXPECT_EQ(result, TWRC_FAILURE) << "no page before Scan";
    EXPECT_EQ(SourceCondition(), TWCC_SEQERROR);

    // Three fine pages asked for, Cancel pressed after the first.
    CheckRadioButton(ScannerWindow(), IDC_STANDARD, IDC_FINE, IDC_FINE);
    CheckRadioButton(ScannerWindow(), IDC_TEST_SHEETS, IDC_FOLDER_PICTURES, IDC_TEST_SHEETS);
    SetWindowTextA(Control(IDC_PAGES), "3");
    SendMessageA(Control(IDC_SCAN), BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForNotice(), MSG_XFERREADY);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_SCAN)));
    const auto letter = Transfer(result);
    EXPECT_EQ(result, TWRC_XFERDONE);
    EXPECT_EQ(EndTransfer(), 2);
    PostMessageA(Control(IDCANCEL), BM_CLICK, 0, 0);  // waits in the queue while the application pulls pages
    EXPECT_TRUE(Transfer(result).empty());
    EXPECT_EQ(result, TWRC_CANCEL);
    EXPECT_EQ(EndTransfer(), 0);
    ASSERT_TRUE(ScannerWindow()) << "ready for another pass";
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_SCAN)));
    auto pages = ScanFilePages(ScanFile());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(letter, scan::DeliveredBitmap(pages[0], Resolution::kFine)) << "the file holds the page delivered";
    EXPECT_GT(BlackIn(pages[0], 170, 230), 5000u) << "the letterhead is set in type";
    EXPECT_EQ(BlackIn(pages[0], 320, 324), 4u * (1728 - 2 * 170)) << "under a rule";
    EXPECT_GT(BlackIn(pages[0], 540, 580), 5000u) << "and so is the letter";

    // A second pass at standard resolution joins the first in the scan file.
    CheckRadioButton(ScannerWindow(), IDC_STANDARD, IDC_FINE, IDC_STANDARD);
    SetWindowTextA(Control(IDC_PAGES), "2");
    SendMessageA(Control(IDC_SCAN), BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForNotice(), MSG_XFERREADY);
    const auto standardLetter = Transfer(result);
    EXPECT_EQ(EndTransfer(), 1);
    EXPECT_EQ(Transfer(result), scan::DeliveredBitmap(mh::FormPage(mh::kA4StandardRows), Resolution::kStandard));
    EXPECT_EQ(EndTransfer(), 0);
    uint32_t selector = 0;
    pages = ScanFilePages(ScanFile(), &selector);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(selector, 200u);
    EXPECT_EQ(pages[1].height, 2286u) << "standard pages stored fine, as they were shown";
    EXPECT_EQ(standardLetter, scan::DeliveredBitmap(pages[1], Resolution::kFine));

    // The close box asks the application to close the source; the settings are kept for next time.
    SendMessageA(ScannerWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForNotice(), MSG_CLOSEDSREQ);
    EXPECT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &m_ui), TWRC_SUCCESS);
    EXPECT_FALSE(ScannerWindow());
    EXPECT_TRUE(IsWindowEnabled(m_window));
    EXPECT_EQ(CRegistryProfile("Orvex", "KDMTW").GetString("Scanner", "Resolution"), "standard");
}

TEST_F(DataSourceTest, WithoutItsWindowTheSourceScansAFoldersReadablePicturesAtOnce) {
    CTempFolder pictures;
    kdm::BilevelImage square(200, 200);
    for (uint32_t y = 50; y < 150; ++y)
        for (uint32_t x = 50; x < 150; ++x)
            square.SetBlack(x, y);
    const std::vector<uint8_t> bmp = kdm::BilevelBmpFile(square);
    WriteFileBytes(pictures.Path() + "a.bmp", std::string(bmp.begin(), bmp.end()));
    WriteFileBytes(pictures.Path() + "b.BMP", std::string(bmp.begin(), bmp.begin() + 100));  // cut short
    WriteFileBytes(pictures.Path() + "c.pbm", "P1\n2 2\n1 0\n0 1\n");
    WriteFileBytes(pictures.Path() + "notes.txt", "P1\n2 2\n1 1\n1 1\n");
    SetScannerSetting("Resolution", "fine");
    SetScannerSetting("Pages", "5");
    SetScannerSetting("Source", "folder");
    SetScannerSetting("Folder", pictures.Path());
    Reopen();

    ASSERT_EQ(Enable(false), TWRC_SUCCESS);
    EXPECT_FALSE(ScannerWindow());
    ASSERT_EQ(WaitForNotice(), MSG_XFERREADY);
    TW_UINT16 result;
    const auto first = Transfer(result);
    EXPECT_EQ(first, scan::DeliveredBitmap(scan::PlaceOnPage(square, Resolution::kFine), Resolution::kFine));
    EXPECT_EQ(EndTransfer(), 1) << "the damaged picture and the text file are left out";
    EXPECT_FALSE(Transfer(result).empty());
    EXPECT_EQ(EndTransfer(), 0);
    EXPECT_EQ(WaitForNotice(), MSG_CLOSEDSREQ) << "nobody else can end a scan without a window";
    const auto pages = ScanFilePages(ScanFile());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[1].Black(0, 0) && pages[1].Black(1727, 1727) && !pages[1].Black(1727, 0) &&
                !pages[1].Black(0, 2286));

    // An empty folder: nothing to scan, and the source stays open.
    Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &m_ui);
    CTempFolder empty;
    SetScannerSetting("Folder", empty.Path());
    Reopen();
    EXPECT_EQ(Enable(false), TWRC_FAILURE);
    EXPECT_EQ(SourceCondition(), TWCC_OPERATIONERROR);
    EXPECT_EQ(Source(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_source), TWRC_SUCCESS);
    SetScannerSetting("Source", "sheets");
}
