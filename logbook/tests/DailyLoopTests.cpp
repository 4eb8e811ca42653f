#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"
#include "logbook/resource.h"
#include "logbook/tests/LogbookWindows.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "tools/process/InstalledSpooler.h"
#include "tools/process/ProcessWindows.h"
#include "tools/process/RemoteControl.h"
#include "common/core/SmhWriter.h"

// The suite's daily loop across the real programs, as a user goes through it: a fax arrives (the receive
// monitor's stand-in), the log viewer started as the menu window starts it lists it first and unread, opening it
// marks it read and shows it in the Viewer, which sends it on through the phone book to the spooler's stand-in,
// and the send log then lists the new send.
namespace {
constexpr UINT kViewerSendFax = 32801;
constexpr UINT kViewerPagePrevious = 32795;
constexpr UINT kViewerPageNext = 32797;

const std::string kBook = "陈静,0571-88886666,杭州市文三路 90 号,老客户\r\n";
const std::string kOlderReceived = "北方机械厂,OK,\"Dec.01,2026 09:00:00\",1,R20261201090000.smh,1\r\n";

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

bool ButtonEnabled(HWND frame, UINT id) {
    return SendMessageA(ToolBarOf(frame), TB_ISBUTTONENABLED, id, 0) != 0;
}

class DailyLoopTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_spooler.Installed());
        // The log viewer starts the Viewer from the program folder, as installed, with its libraries beside it.
        for (const char* file : {"Viewer.exe", "Dialdir.dll", "kdmlib.dll"})
            ASSERT_TRUE(CopyFileA(BuiltProgram(file).c_str(), (m_settings.ProgramFolder() + file).c_str(), FALSE))
                << file;
        WriteFileBytes(m_settings.ProgramFolder() + "Addr.csv", kBook);
        WriteFileBytes(m_settings.LogFolder() + "receive.csv", kOlderReceived);
        WriteFileBytes(m_settings.LogFolder() + "send.csv", "");
        CreateFolderPath(m_settings.ProgramFolder() + "samples");
        const std::vector<uint8_t> fax =
            BuildSmhDocument(MakeSmhHeader(2), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 200, 3, 21))),
                                                SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 150, 3, 22)))});
        WriteFileBytes(m_settings.ProgramFolder() + "samples\\call.smh", std::string(fax.begin(), fax.end()));
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
    CInstalledSpooler m_spooler;
};
}  // namespace

TEST_F(DailyLoopTest, AReceivedFaxIsListedOpenedSentOnAndTheSendIsLogged) {
    const std::string recv = m_settings.RecvFolder(), temp = m_settings.TempFolder();

    // A fax arrives.
    CRunningProgram watcher = CRunningProgram::Start("\"" + BuiltProgram("Watcher.exe") + "\" /receive");
    ASSERT_TRUE(watcher.Ended(60000)) << "the receive monitor did not end";
    ASSERT_EQ(watcher.ExitCode(), 0u);
    const std::vector<std::string> pending = FilesMatching(temp, "R*.CSV");
    ASSERT_EQ(pending.size(), 1u);
    const std::vector<std::string> documents = FilesMatching(recv, "R*.smh");
    ASSERT_EQ(documents.size(), 1u);
    const std::string document = documents[0];

    // The log viewer, started with the log's short path, lists it first and unread.
    CRunningProgram logbook = CRunningProgram::Start("\"" + BuiltProgram("Logbook.exe") + "\" " +
                                                     ShortPath(m_settings.LogFolder() + "receive.csv"));
    HWND frame = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (frame = VisibleWindow(logbook.Id(), "查看清单")); }))
        << "the log viewer shows:" << Showing(logbook.Id());
    HWND list = LogListOf(frame);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
    EXPECT_TRUE(FilesMatching(temp, "R*.CSV").empty()) << "the pending record was taken in";
    const std::string received = ReadFileBytes(m_settings.LogFolder() + "receive.csv");
    const std::string newLine = FirstLine(received);
    ASSERT_NE(newLine.find("," + document + ",0"), std::string::npos) << received;
    EXPECT_EQ(received.substr(received.find("\r\n") + 2), kOlderReceived);
    EXPECT_EQ(RemoteCell(logbook.Process(), list, 0, 3), "2") << "two pages";

    // A double click on it marks it read and opens it in the Viewer, on its first page.
    const RECT row = RemoteRowRect(logbook.Process(), list, 0);
    ASSERT_GT(row.bottom, row.top);
    const LPARAM at = MAKELPARAM(row.left + 30, (row.top + row.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        HWND found = FindWindowA(nullptr, ("查看器 - " + document).c_str());
        return (viewer = found && IsWindowVisible(found) ? found : nullptr) != nullptr;
    })) << "no Viewer with the fax";
    CRunningProgram viewerProgram = CRunningProgram::Of(viewer);
    // Buttons start enabled; the first idle pass sets them from the page shown.
    EXPECT_TRUE(WaitUntil(
        [&] { return ButtonEnabled(viewer, kViewerPageNext) && !ButtonEnabled(viewer, kViewerPagePrevious); }, 20000))
        << "page 1 of 2 shows";
    const std::string marked = ReadFileBytes(m_settings.LogFolder() + "receive.csv");
    EXPECT_EQ(FirstLine(marked), newLine.substr(0, newLine.size() - 1) + "1") << "marked read in the log";

    // The Viewer sends it on to the one address in the phone book.
    PostMessageA(viewer, WM_COMMAND, MAKEWPARAM(kViewerSendFax, 1), 0);
    HWND phoneBook = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (phoneBook = VisibleWindow(viewerProgram.Id(), "电话")); }))
        << "the Viewer shows:" << Showing(viewerProgram.Id());
    HWND book = GetDlgItem(phoneBook, 1005);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(book, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    ASSERT_TRUE(RemoteSelect(viewerProgram.Process(), book, 0));
    PostMessageA(phoneBook, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(phoneBook, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !FilesMatching(temp, "S*.CSV").empty(); }))
        << "no send record; the Viewer shows:" << Showing(viewerProgram.Id());

    // The send log lists the new send once it is shown.
    PostMessageA(frame, WM_SHOW_LIST, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return FilesMatching(temp, "S*.CSV").empty(); })) << "the send record was taken in";
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(RemoteCell(logbook.Process(), list, 0, 0), "陈静");
    EXPECT_EQ(RemoteCell(logbook.Process(), list, 0, 1), "OK");
    const std::string sent = ReadFileBytes(m_settings.LogFolder() + "send.csv");
    EXPECT_EQ(sent.rfind("陈静,OK,", 0), 0u) << sent;

    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(viewerProgram.Ended(20000));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(logbook.Ended(20000));
}
