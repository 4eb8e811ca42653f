#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/LogFile.h"
#include "common/core/LogLine.h"
#include "common/core/TextModeLines.h"
#include "common/testing/InstalledSettings.h"
#include "common/testing/SampleLogs.h"
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

// The menu's receive-log button, and a moment later its send-log button, while the receive log takes long to
// load: the second request waits for the load, nothing handed over is lost, and the send list shows at the end.
TEST(LogbookSecondStart, ARequestDuringALongLoadWaitsForItAndNothingIsLost) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    const LogDateTime now = CurrentLogTime();
    const std::string log = SampleReceiveLog(8000, LogDateBefore(now, 86400));
    WriteFileBytes(settings.LogFolder() + "receive.csv", log);
    std::string pending;
    for (int i = 0; i < 2000; ++i) {
        const std::string line = SampleReceiveLog(1, LogDateBefore(now, i), 60, i);
        WriteFileBytes(settings.TempFolder() + "R" + std::to_string(100000 + i) + ".CSV", line);
        pending += line;  // newest first, as the merge orders them
    }
    SendLogRecord sent;
    sent.Set(std::vector<std::string_view>{"Dest", "OK", "1", "Dec.01,2026 10:00:00", "2", "", "s.smh", "1"});
    std::string sendLog;
    AppendTextModeOutput(sendLog, FormatLogLine(sent));
    WriteFileBytes(settings.LogFolder() + "send.csv", sendLog);

    CRunningProgram logbook = Start(ShortPath(settings.LogFolder() + "send.csv"));
    HWND frame = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (frame = VisibleWindow(logbook.Id(), "查看清单")); }, 15000));
    ASSERT_EQ(WaitForSelection(frame, 0), 0);

    // The later press is a process already made, so that it asks while the load still runs even on a busy machine.
    CRunningProgram sendButton = CRunningProgram::StartSuspended("\"" + BuiltProgram("Logbook.exe") + "\" " +
                                                                 ShortPath(settings.LogFolder() + "send.csv"));
    CRunningProgram receiveButton = Start(ShortPath(settings.LogFolder() + "receive.csv"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(frame); }, 20000)) << "the receive log never loaded";
    sendButton.Resume();
    EXPECT_TRUE(sendButton.Ended(20000));
    EXPECT_FALSE(IsWindowEnabled(frame)) << "the load ended before the second request came";
    EXPECT_TRUE(receiveButton.Ended(60000));

    EXPECT_EQ(WaitForSelection(frame, 0), 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(frame) && Rows(frame) == 1; }, 20000));
    EXPECT_TRUE(FilesMatching(settings.TempFolder(), "R*.CSV").empty());
    const std::string received = ReadFileBytes(settings.LogFolder() + "receive.csv");
    EXPECT_EQ(received.size(), pending.size() + log.size());
    EXPECT_TRUE(received == pending + log) << "the receive log is not the merged records over the old log";
    EXPECT_EQ(ReadFileBytes(settings.LogFolder() + "send.csv"), sendLog);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(logbook.Ended(20000));
    EXPECT_EQ(logbook.ExitCode(), 0u);
}
