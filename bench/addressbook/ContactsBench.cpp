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

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A message box here means the run went wrong; it must not wait for a person.
class CFailingMessageBoxes : public IMessageBoxes {
public:
    int Show(HWND, const std::string& text, const std::string&, UINT) override {
        fprintf(stderr, "unexpected message: %s\n", text.c_str());
        ExitProcess(3);
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
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
        const LARGE_INTEGER t0 = Now();
        HWND hwnd = dialog->Create(nullptr);
        if (!hwnd)
            return 1;
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
        Pump();
        const LARGE_INTEGER t1 = Now();
        open.push_back(Milliseconds(t0, t1));

        const LARGE_INTEGER t2 = Now();
        dialog->Book().Save();
        const LARGE_INTEGER t3 = Now();
        save.push_back(Milliseconds(t2, t3));
        Pump();
        dialog.reset();

        WriteFileBytes(path, almostFull);
        dialog = std::make_unique<CContactsDlg>(app);
        if (!dialog->Create(nullptr))
            return 1;
        Pump();
        const AddressEntry entry{"\xD7\xF7\xD5\xDF\xBA\xF3\xC0\xB4", "0571-1", "", ""};  // past every row
        const LARGE_INTEGER t4 = Now();
        dialog->Book().Insert(entry, true);
        const LARGE_INTEGER t5 = Now();
        insert.push_back(Milliseconds(t4, t5));
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
