// The address book program with a 10,000-entry book, under Wine: opening the dialog until the list is loaded
// and painted, and saving the book; and adding one entry with the duplicate check to a list one short of the
// limit (its name sorts last, so every row is compared). Medians of the runs given (default 5), in milliseconds.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "common/testing/InstalledSettings.h"
#include "common/testing/SampleBook.h"
#include "contacts/ContactsApp.h"
#include "contacts/ContactsDlg.h"
#include "contacts/resource.h"
#include "framework/MessageBox.h"
#include "framework/Seam.h"
#include "framework/testing/TempFolder.h"

namespace {
class CBenchApp : public CContactsApp {
public:
    using CContactsApp::LoadSuiteSettings;
};
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int runs = __argc > 1 ? std::max(1, atoi(__argv[1])) : 5;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    CBenchApp app;
    if (!app.LoadSuiteSettings(IDS_REG_ERROR))
        return 1;
    const std::string path = settings.ProgramFolder() + "Addr.csv";
    const std::string book = SampleAddressBook(10000);
    const std::string almostFull = SampleAddressBook(9999);
    CFailingMessageBoxes boxes;
    CScopedSeam<IMessageBoxes> seam(boxes);

    std::vector<double> open, save, insert;
    for (int run = 0; run < runs; ++run) {
        WriteFileBytes(path, book);
        auto dialog = std::make_unique<CContactsDlg>(app);
        const double t0 = NowMs();
        HWND hwnd = dialog->Create(nullptr);
        if (!hwnd)
            return 1;
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
        PumpMessages();
        const double t1 = NowMs();
        open.push_back(t1 - t0);

        const double t2 = NowMs();
        dialog->Book().Save();
        const double t3 = NowMs();
        save.push_back(t3 - t2);
        PumpMessages();
        dialog.reset();

        WriteFileBytes(path, almostFull);
        dialog = std::make_unique<CContactsDlg>(app);
        if (!dialog->Create(nullptr))
            return 1;
        PumpMessages();
        const AddressEntry entry{"\xD7\xF7\xD5\xDF\xBA\xF3\xC0\xB4", "0571-1", "", ""};  // past every row
        const double t4 = NowMs();
        dialog->Book().Insert(entry, true);
        const double t5 = NowMs();
        insert.push_back(t5 - t4);
        if (dialog->Book().Count() != 10000)
            return 1;
    }
    printf("10,000-entry book (%zu bytes), medians of %d runs:\n", book.size(), runs);
    printf("  open dialog, load and paint   %8.1f ms   (goal <= 500 ms)\n", Median(open));
    printf("  save                          %8.1f ms   (goal <= 500 ms)\n", Median(save));
    printf("  add one entry to 9,999 rows   %8.2f ms   (goal < 10 ms)\n", Median(insert));
    (void)instance;
    return 0;
}
