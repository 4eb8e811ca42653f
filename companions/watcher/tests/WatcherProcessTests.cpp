#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/testing/InstalledSettings.h"
#include "companions/watcher/Receiver.h"
#include "companions/watcher/WatcherWnd.h"
#include "companions/watcher/resource.h"
#include "companions/watcher/tests/WatcherTesting.h"
#include "framework/testing/TempFolder.h"
#include "tools/process/RemoteControl.h"

// The real program as the Launcher, Setup and scripts start it.
namespace {
CRunningProgram StartWatcher(const std::string& arguments = "") {
    return CRunningProgram::Start("\"" + BuiltProgram("Watcher.exe") + "\"" +
                                  (arguments.empty() ? "" : " " + arguments));
}

HWND WaitForWatcherWindow(DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (HWND window = FindWindowA(CWatcherWnd::kClassName, nullptr); window && IsWindowVisible(window))
            return window;
        Sleep(50);
    }
    return nullptr;
}

class WatcherProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string install = m_root.Path();
        install.pop_back();
        m_settings = std::make_unique<CInstalledSettings>(install);
        m_samples = CReceiver::SamplesFolderOf(m_settings->ProgramFolder());
        CreateDirectoryA(m_samples.c_str(), nullptr);
        WriteFileBytes(m_samples + "order.smh", SampleFax(3, "北京华信贸易", "010-62345678"));
    }

    // The one document and the one record a reception leaves, read back.
    void ExpectOneReception() const {
        const auto documents = FilesMatching(m_settings->RecvFolder(), "*.smh");
        ASSERT_EQ(documents.size(), 1u);
        EXPECT_EQ(ReadFileBytes(m_settings->RecvFolder() + documents[0]), ReadFileBytes(m_samples + "order.smh"));
        const auto pending = FilesMatching(m_settings->TempFolder(), "R*.CSV");
        ASSERT_EQ(pending.size(), 1u);
        const auto records = ReadPendingRecords(m_settings->TempFolder() + pending[0]);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(FieldText(records[0], ReceiveLogRecord::kFrom), "北京华信贸易");
        EXPECT_EQ(FieldText(records[0], ReceiveLogRecord::kResult), "OK");
        EXPECT_EQ(records[0].Number(ReceiveLogRecord::kPages), 3);
        EXPECT_EQ(records[0].FileName(), documents[0]);
        EXPECT_FALSE(records[0].IsRead());
    }

    CTempFolder m_root;
    std::unique_ptr<CInstalledSettings> m_settings;
    std::string m_samples;
};
}  // namespace

TEST_F(WatcherProcessTest, ReceiveSwitchReceivesOneFaxAndEndsWithoutAWindow) {
    CRunningProgram once = StartWatcher("/receive");
    ASSERT_TRUE(once.Process());
    ASSERT_TRUE(once.Ended(30000));
    EXPECT_EQ(once.ExitCode(), 0u);
    ExpectOneReception();
}

TEST_F(WatcherProcessTest, OneCopyRunsAndTakesTheReceiveSwitchOfASecondStart) {
    CRunningProgram first = StartWatcher();
    ASSERT_TRUE(first.Process());
    ASSERT_EQ(WaitForInputIdle(first.Process(), 60000), 0u);
    HWND window = WaitForWatcherWindow(10000);
    ASSERT_NE(window, nullptr);
    HWND list = GetDlgItem(window, IDC_RECEIVED_LIST);
    ASSERT_NE(list, nullptr);

    CRunningProgram plain = StartWatcher();
    ASSERT_TRUE(plain.Process());
    EXPECT_TRUE(plain.Ended(10000)) << "a second copy ends at once";

    CRunningProgram once = StartWatcher("/receive");
    ASSERT_TRUE(once.Process());
    ASSERT_TRUE(once.Ended(30000));
    EXPECT_EQ(once.ExitCode(), 0u);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1) << "the running copy received and lists it";
    ExpectOneReception();

    // A script may also post the window's receive command.
    PostMessageA(window, WM_COMMAND, IDC_RECEIVE_NOW, 0);
    for (int waited = 0; waited < 10000 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 2; waited += 50)
        Sleep(50);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(FilesMatching(m_settings->RecvFolder(), "*.smh").size(), 2u);
    EXPECT_EQ(FilesMatching(m_settings->TempFolder(), "R*.CSV").size(), 2u);

    EXPECT_FALSE(first.Ended(0)) << "the first copy keeps running";
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.Ended(10000));
    EXPECT_EQ(first.ExitCode(), 0u);
}
