#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "framework/testing/TempFolder.h"
#include "setup/Install.h"
#include "tools/process/RemoteControl.h"
#include "tools/process/SetupDriver.h"

namespace {

std::string Disk(int number) {
    return BuiltProgram("..\\disks\\Disk") + std::to_string(number);
}

// Puts a disk "into the drive": the drive's folder then holds exactly that disk's files.
void InsertDisk(const std::string& drive, int number) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((drive + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((drive + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    find = FindFirstFileA((Disk(number) + "\\*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileA((Disk(number) + "\\" + found.cFileName).c_str(), (drive + "\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

class FloppyInstall : public testing::Test {
protected:
    void SetUp() override {
        // Every destination inside the test's folder: the Windows and system folders too.
        for (const char* folder : {"drive", "windows", "system", "install"})
            CreateDirectoryA((m_root.Path() + folder).c_str(), nullptr);
        m_state.instance = GetModuleHandleA(nullptr);
        CopyText(m_state.source, (m_root.Path() + "drive").c_str());
        CopyText(m_state.windows, (m_root.Path() + "windows").c_str());
        CopyText(m_state.system, (m_root.Path() + "system").c_str());
        CopyText(m_state.install, (m_root.Path() + "install").c_str());
        m_state.floppy = true;
        InsertDisk(m_state.source, 1);
    }

    std::string Installed(const char* name) const { return std::string(m_state.system) + "\\" + name; }

    CTempFolder m_root;
    SetupState m_state;
};

TEST_F(FloppyInstall, AsksForTheSecondDiskUntilItsIdIsThere) {
    std::string first, second;
    std::thread user([&] {
        // The wrong disk stays in at the first request; the second disk goes in at the next.
        first = AnswerMessageBox(GetCurrentProcessId(), IDOK);
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindMessageBox(GetCurrentProcessId())) != nullptr; }, 30000);
        InsertDisk(m_state.source, 2);
        second = AnswerMessageBox(GetCurrentProcessId(), IDOK);
    });
    INT_PTR result = RunCopyDialog(m_state);
    user.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(first, "插入第2号磁盘。");
    EXPECT_EQ(second, "插入第2号磁盘。");
    EXPECT_NE(GetFileAttributesA((std::string(m_state.install) + "\\VIEWER.EXE").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(Installed("KDMLIB.DLL").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(Installed("KDMLPT.VXD").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FloppyInstall, CancellingTheDiskRequestStopsTheInstallation) {
    std::string request, stopped;
    std::thread user([&] {
        request = AnswerMessageBox(GetCurrentProcessId(), IDCANCEL);
        stopped = AnswerMessageBox(GetCurrentProcessId(), IDOK);
    });
    INT_PTR result = RunCopyDialog(m_state);
    user.join();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(request, "插入第2号磁盘。");
    EXPECT_EQ(stopped, "安装未完成。\n");
    EXPECT_EQ(GetFileAttributesA(Installed("KDMLIB.DLL").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
