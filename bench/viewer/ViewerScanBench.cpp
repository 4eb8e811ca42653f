// Scanning into the Viewer under Wine, with the manager and the scanner's source placed as Setup places them: a
// three-page fine scan of the test sheets, from pressing Scan in the scanner's window until page 1 is painted,
// the source has closed and "scanfile.smh" exists. Median of 10, and what the source's own work takes of it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "common/testing/InstalledSettings.h"
#include "companions/twain/core/ScanPages.h"
#include "companions/twain/source/TestSheets.h"
#include "companions/twain/source/resource.h"
#include "framework/Seam.h"
#include "framework/testing/TempFolder.h"
#include "viewer/ViewerApp.h"
#include "viewer/resource.h"

namespace {
class CBenchViewerApp : public CViewerApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

// The program's loop, each message offered to the scanner first, until the scanner has closed.
bool RunUntilClosed(CViewerApp& app) {
    for (const double start = NowMs(); app.Frame().Scanner().State() != 3;) {
        if (NowMs() - start > 10000)
            return false;
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            continue;
        if (!app.Frame().Scanner().ProcessMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    WriteProfileStringA("TWAIN", "Default Source", (std::string(windows) + "\\twain_32\\ORVEX\\KDMTW.DS").c_str());
    CFailingMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);

    CBenchViewerApp app;
    if (!app.LoadSuiteSettings(IDS_REG_ERROR) || !app.CreateMainWindow())
        return 1;
    HWND frame = app.Frame().GetSafeHwnd();
    SetWindowPos(frame, nullptr, 0, 0, 1024, 768, SWP_NOZORDER | SWP_SHOWWINDOW);
    UpdateWindow(frame);
    app.Frame().Scanner().Start();
    if (!app.Frame().Scanner().CanStart()) {
        fprintf(stderr, "no scanner: place TWAIN_32.DLL and KDMTW.DS as bench/viewer-scan does\n");
        return 1;
    }
    const std::string scanFile = settings.RecvFolder() + "scanfile.smh";
    std::vector<double> totals;
    for (int run = 0; run < 10; ++run) {
        app.Document().DeleteContents();
        app.Document().UpdateAllViews(nullptr);
        DeleteFileA(scanFile.c_str());
        SendMessageA(frame, WM_COMMAND, ID_FILE_ACQUIRE, 0);
        HWND scanner = FindWindowA(nullptr, "KDM-540 扫描仪");
        if (!scanner)
            return 1;
        CheckRadioButton(scanner, IDC_STANDARD, IDC_FINE, IDC_FINE);
        CheckRadioButton(scanner, IDC_TEST_SHEETS, IDC_FOLDER_PICTURES, IDC_TEST_SHEETS);
        SetDlgItemInt(scanner, IDC_PAGES, 3, FALSE);
        PumpMessages();
        const double start = NowMs();
        SendMessageA(GetDlgItem(scanner, IDC_SCAN), BM_CLICK, 0, 0);
        if (!RunUntilClosed(app))
            return 1;
        RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        totals.push_back(NowMs() - start);
        if (app.Document().PageCount() != 3 || app.Document().FilePath() != scanFile ||
            GetFileAttributesA(scanFile.c_str()) == INVALID_FILE_ATTRIBUTES)
            return 1;
    }

    // The source's own share: drawing the sheets, the bitmaps it hands over, coding the scan file.
    std::vector<double> sheets, bitmaps, coding;
    for (int run = 0; run < 10; ++run) {
        std::vector<scan::ScannedPage> pages;
        double t = NowMs();
        for (unsigned i = 0; i < 3; ++i)
            pages.push_back({TestSheet(i, scan::Resolution::kFine), scan::Resolution::kFine});
        sheets.push_back(NowMs() - t);
        t = NowMs();
        for (const scan::ScannedPage& page : pages)
            scan::DeliveredBitmap(page.image, page.resolution);
        bitmaps.push_back(NowMs() - t);
        t = NowMs();
        scan::ScanFile(pages);
        coding.push_back(NowMs() - t);
    }
    printf("three-page fine scan, Scan pressed until page 1 is painted and scanfile.smh exists, medians of 10:\n");
    printf("  whole scan                   %7.1f ms   (goal <= 1000 ms)\n", Median(totals));
    printf("  of which: drawing the sheets %7.1f ms\n", Median(sheets));
    printf("            bitmaps handed over %6.1f ms\n", Median(bitmaps));
    printf("            coding scantemp.smh %6.1f ms\n", Median(coding));
    app.Frame().Scanner().Shut();
    app.DestroyMainWindow();
    return 0;
}
