// Saves two 10,000-row receive logs in turn into the log folder given, for ever, the way the log viewer saves
// one; sets the named event once the first save has begun, so the parent knows saving is under way.
#include <windows.h>

#include <string>

#include "common/LogFile.h"
#include "common/testing/SampleLogs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3)
        return 2;
    SuiteSettings folders;
    folders.logFolder = __argv[1];
    LogList lists[2] = {LogList(ReceiveLogLayout(), kSampleLogNewest), LogList(ReceiveLogLayout(), kSampleLogNewest)};
    for (int variant = 0; variant < 2; ++variant)
        lists[variant].InsertLines(SampleReceiveLog(10000, kSampleLogNewest, 60, variant), LogInsertMode::kAppend);
    CLogFile log(ReceiveLogLayout(), folders, nullptr, 0);
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, __argv[2]);
    for (unsigned long long i = 1;; ++i) {
        if (started && i == 1)
            SetEvent(started);
        if (!log.Save(lists[i % 2]))
            return 1;
    }
}
