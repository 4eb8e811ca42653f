#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"
#include "logbook/resource.h"
#include "logbook/tests/LogbookWindows.h"
#include "tools/process/ProcessWindows.h"
#include "tools/process/RemoteControl.h"

// Real Logbook processes, started the way the menu window starts them: with the short path of a log.
namespace {
CRunningProgram Start(const std::string& argument) {
    return CRunningProgram::Start("\"" + BuiltProgram("Logbook.exe") + "\" " + argument);
}

// The list shown, as the selector says once the list has loaded: 0 send, 1 receive.
LRESULT WaitForSelection(HWND frame, LRESULT wanted) {
    LRESULT shown = CB_ERR;
    for (int i = 0; i < 200 && shown != wanted; ++i, Sleep(50))
        shown = SendMessageA(ListSelectorOf(frame), CB_GETCURSEL, 0, 0);
    return shown;
}

int Rows(HWND frame) {
    return static_cast<int>(SendMessageA(LogListOf(frame), LVM_GETITEMCOUNT, 0, 0));
}
}  // namespace

TEST(LogbookSecondStart, TheRunningWindowComesForwardAndShowsTheListAskedFor) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    WriteFileBytes(settings.LogFolder() + "receive.csv",
                   "a,OK,\"Jan.05,2026 14:03:27\",1,a.smh,0\r\n"
                   "b,OK,\"Jan.04,2026 14:03:27\",1,b.smh,1\r\n");
    WriteFileBytes(settings.LogFolder() + "send.csv", "c,OK,1,\"Jan.05,2026 14:03:27\",1,,,0\r\n");

    CRunningProgram first = Start(ShortPath(settings.LogFolder() + "receive.csv"));
    HWND frame = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (frame = VisibleWindow(first.Id(), "查看清单")); }, 15000))
        << "the log viewer shows:" << Showing(first.Id());
    EXPECT_EQ(WaitForSelection(frame, 1), 1);
    EXPECT_EQ(Rows(frame), 2);
    ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(frame));

    // The shortcuts pass the full path in quotes.
    CRunningProgram second = Start("\"" + settings.LogFolder() + "send.csv\"");
    EXPECT_TRUE(second.Ended(20000)) << "the second start did not end";
    EXPECT_EQ(FindVisibleWindowOf(second.Id()), nullptr);
    EXPECT_FALSE(IsIconic(frame)) << "the running window was not restored";
    EXPECT_EQ(WaitForSelection(frame, 0), 0);
    EXPECT_EQ(Rows(frame), 1);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.Ended(20000));
}
