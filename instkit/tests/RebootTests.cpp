#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/testing/TempFolder.h"
#include "instkit/RebootReplace.h"
#include "instkit/tests/InstkitDll.h"
#include "tools/process/RemoteControl.h"

// Files replaced and deleted at the next restart; `wineboot -r` is the restart.
namespace {
std::string WindowsFile(const char* name) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\" + name;
}

BOOL WINAPI RefuseDelayedMove(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

class RebootTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(m_winInit.c_str());
        DeleteFileA(m_backup.c_str());
    }
    void TearDown() override {
        DeleteFileA(m_winInit.c_str());
        DeleteFileA(m_backup.c_str());
    }
    static bool Restart() {
        CRunningProgram restart = CRunningProgram::Start("wineboot.exe -r");
        return restart.Ended(120000) && restart.ExitCode() == 0;
    }

    // A driver to delete, and one in use with its update.
    void MakeFiles(const char* inUseName) {
        m_doomed = m_folder.Path() + "old.drv";
        m_inUse = m_folder.Path() + inUseName;
        m_update = m_folder.Path() + "update.tmp";
        WriteFileBytes(m_doomed, "old");
        WriteFileBytes(m_inUse, "version 1");
        WriteFileBytes(m_update, "version 2");
    }

    CTempFolder m_folder;
    std::string m_doomed;
    std::string m_inUse;
    std::string m_update;
    const std::string m_winInit = WindowsFile("WinInit.Ini");
    const std::string m_backup = WindowsFile("wininit.bak");
};
}  // namespace

TEST_F(RebootTest, TheSystemsDelayedMoveReplacesAndDeletes) {
    MakeFiles("in use.dll");
    const std::string& doomed = m_doomed;
    const std::string& inUse = m_inUse;
    const std::string& update = m_update;

    EXPECT_EQ(Instkit().ReplaceFileOnReboot(nullptr, doomed.c_str()), 1u);
    EXPECT_EQ(Instkit().ReplaceFileOnReboot(inUse.c_str(), update.c_str()), 1u);
    EXPECT_FALSE(FileExists(m_winInit));  // accepted: nothing to write there
    EXPECT_TRUE(FileExists(doomed));

    ASSERT_TRUE(Restart());
    EXPECT_FALSE(FileExists(doomed));
    EXPECT_FALSE(FileExists(update));
    EXPECT_EQ(ReadFileBytes(inUse), "version 2");
}

TEST_F(RebootTest, ARefusedMoveGoesIntoTheRenameSection) {
    MakeFiles("inuse.dll");
    const std::string& doomed = m_doomed;
    const std::string& inUse = m_inUse;
    const std::string& update = m_update;

    EXPECT_EQ(instkit::ScheduleReplace(RefuseDelayedMove, nullptr, doomed.c_str()), 1u);
    EXPECT_EQ(ReadFileBytes(m_winInit), "[Rename]\r\nNUL=" + doomed + "\r\n");
    EXPECT_EQ(instkit::ScheduleReplace(RefuseDelayedMove, inUse.c_str(), update.c_str()), 1u);
    EXPECT_EQ(ReadFileBytes(m_winInit), "[Rename]\r\n" + inUse + "=" + update + "\r\nNUL=" + doomed + "\r\n");

    ASSERT_TRUE(Restart());
    EXPECT_FALSE(FileExists(doomed));
    EXPECT_EQ(ReadFileBytes(inUse), "version 2");
    EXPECT_FALSE(FileExists(m_winInit));
}

TEST_F(RebootTest, OtherSectionsStayAndABusyFileIsLeftAsItWas) {
    const std::string before = "[Other]\r\nkeep=1\r\n";
    WriteFileBytes(m_winInit, before);
    const std::string doomed = m_folder.Path() + "old.drv";
    EXPECT_EQ(instkit::ScheduleReplace(RefuseDelayedMove, nullptr, doomed.c_str()), 1u);
    const std::string after = before + "[Rename]\r\nNUL=" + doomed + "\r\n";
    EXPECT_EQ(ReadFileBytes(m_winInit), after);

    // Another program holds the file: nothing is scheduled, nothing is lost.
    HANDLE held = CreateFileA(m_winInit.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(instkit::ScheduleReplace(RefuseDelayedMove, nullptr, (m_folder.Path() + "x").c_str()), 0u);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(m_winInit), after);

    // A path the system could not take is not scheduled either.
    const std::string tooLong = m_folder.Path() + std::string(260, 'a');
    EXPECT_EQ(instkit::ScheduleReplace(RefuseDelayedMove, nullptr, tooLong.c_str()), 0u);
    EXPECT_EQ(ReadFileBytes(m_winInit), after);
}
