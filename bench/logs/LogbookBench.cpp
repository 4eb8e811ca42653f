// The log viewer under Wine with a receive log of 1,000 and of 10,000 recent rows plus 50 pending record files:
// from creating the main window, through merging, reading, saving and listing, until the list is painted.
// Medians of the runs given (default 5), in milliseconds.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "common/LogFile.h"
#include "common/testing/InstalledSettings.h"
#include "common/testing/SampleLogs.h"
#include "framework/MessageBox.h"
#include "framework/Seam.h"
#include "framework/testing/TempFolder.h"
#include "logbook/LogbookApp.h"
#include "logbook/resource.h"

namespace {
class CBenchApp : public CLogbookApp {
public:
    using CLogbookApp::LoadSuiteSettings;

protected:
    BOOL InitInstance() override { return FALSE; }
};

struct Timing {
    double show;
    double close;
};

Timing TimeOnce(CBenchApp& app, const CInstalledSettings& settings, int rows) {
    const LogDateTime now = CurrentLogTime();
    WriteFileBytes(settings.LogFolder() + "receive.csv", SampleReceiveLog(rows, LogDateBefore(now, 3600)));
    for (int i = 0; i < 50; ++i)
        WriteFileBytes(settings.TempFolder() + "R" + std::to_string(1000 + i) + ".CSV",
                       SampleReceiveLog(1, LogDateBefore(now, (i * 37 % 50) * 60), 60, 1));
    const double t0 = NowMs();
    if (!app.CreateMainWindow())
        ExitProcess(1);
    ShowWindow(app.Frame().GetSafeHwnd(), SW_SHOW);
    UpdateWindow(app.Frame().GetSafeHwnd());
    PumpMessages();
    const double t1 = NowMs();
    const int shown = static_cast<int>(SendMessageA(app.View().List().GetSafeHwnd(), LVM_GETITEMCOUNT, 0, 0));
    // The list holds 10,000 records: the log's oldest give way to the pending ones.
    const int expected = std::min(rows + 50, 10000);
    if (shown != expected) {
        fprintf(stderr, "%d rows listed, %d expected\n", shown, expected);
        ExitProcess(4);
    }
    const double t2 = NowMs();
    app.DestroyMainWindow();
    PumpMessages();
    const double t3 = NowMs();
    return {t1 - t0, t3 - t2};
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int runs = __argc > 1 ? std::max(1, atoi(__argv[1])) : 5;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    CBenchApp app;
    if (!app.LoadSuiteSettings(IDS_REG_ERROR))
        return 1;
    app.SetShownList(LogKind::kReceive);
    CFailingMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);

    printf("Receive log plus 50 pending records, medians of %d runs:\n", runs);
    for (int rows : {1000, 10000}) {
        std::vector<double> show, close;
        for (int run = 0; run < runs; ++run) {
            const Timing t = TimeOnce(app, settings, rows);
            show.push_back(t.show);
            close.push_back(t.close);
        }
        printf("  %5d rows: merge, read, save and list   %8.1f ms   (goal <= 500 ms at 10,000)\n", rows, Median(show));
        printf("  %5d rows: clear the list and close     %8.1f ms\n", rows, Median(close));
    }
    return 0;
}
