// Saves two 10,000-entry books in turn over the path given, for ever; sets the named event once the first save
// has begun, so the parent knows the saving is under way when it kills this process.
#include <windows.h>

#include <string>

#include "common/WholeFile.h"
#include "common/testing/SampleBook.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3)
        return 2;
    const std::string path = __argv[1];
    const std::string books[2] = {SampleAddressBook(10000, 0), SampleAddressBook(10000, 1)};
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, __argv[2]);
    for (unsigned long long i = 1;; ++i) {
        if (started && i == 1)
            SetEvent(started);
        if (ReplaceWholeFile(path, books[i % 2]) != FileResult::kOk)
            return 1;
    }
}
