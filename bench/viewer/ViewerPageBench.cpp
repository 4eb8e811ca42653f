// Paging in the Viewer under Wine, with a 6-page fine typed fax: moving to a page not shown before (decode,
// stretch, paint at 100%) and to one already shown (paint only). Medians in milliseconds.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "common/core/SmhWriter.h"
#include "viewer/ViewerApp.h"
#include "viewer/resource.h"

namespace {
class CBenchViewerApp : public CViewerApp {
protected:
    BOOL InitInstance() override { return FALSE; }
};

// A page change as the user sees it: the command, then the repaint it caused.
double TimePageChange(HWND frame, UINT command) {
    const double start = NowMs();
    SendMessageA(frame, WM_COMMAND, command, 0);
    RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return NowMs() - start;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    constexpr uint32_t kPages = 6;
    std::vector<SmhPageSpec> pages;
    for (uint32_t i = 0; i < kPages; ++i)
        pages.emplace_back(mh::EncodeMh(mh::TypedLetterPage()));
    const std::vector<uint8_t> fax = BuildSmhDocument(MakeSmhHeader(kPages), pages);
    const std::string path = settings.RecvFolder() + "typed.smh";
    WriteFileBytes(path, std::string(fax.begin(), fax.end()));

    CBenchViewerApp app;
    if (!app.LoadSuiteSettings(IDS_REG_ERROR) || !app.CreateMainWindow())
        return 1;
    HWND frame = app.Frame().GetSafeHwnd();
    SetWindowPos(frame, nullptr, 0, 0, 1024, 768, SWP_NOZORDER | SWP_SHOWWINDOW);
    if (!app.OpenDocumentFile(path))
        return 1;
    UpdateWindow(frame);

    std::vector<double> first, again;
    for (uint32_t page = 2; page <= kPages; ++page)
        first.push_back(TimePageChange(frame, ID_PAGE_NEXT));
    for (int round = 0; round < 5; ++round) {
        for (uint32_t page = kPages; page > 1; --page)
            again.push_back(TimePageChange(frame, ID_PAGE_PREVIOUS));
        for (uint32_t page = 1; page < kPages; ++page)
            again.push_back(TimePageChange(frame, ID_PAGE_NEXT));
    }
    printf("paging a fine typed fax at 100%% in a 1024 x 768 window, medians:\n");
    printf("  to a page not shown before   %7.2f ms   (goal < 16 ms)\n", Median(first));
    printf("  to a page already shown      %7.2f ms   (goal < 16 ms)\n", Median(again));
    app.DestroyMainWindow();
    return 0;
}
