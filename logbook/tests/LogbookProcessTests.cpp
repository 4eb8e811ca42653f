#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"
#include "logbook/resource.h"
#include "tools/process/ProcessWindows.h"

// Real Logbook processes, started the way the menu window starts them: with the short path of a log.
namespace {
std::string LogbookPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + "Logbook.exe";
}

std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return shortPath;
}

PROCESS_INFORMATION Start(const std::string& argument) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + LogbookPath() + "\" " + argument;
    EXPECT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    return pi;
}

HWND WaitForWindow(DWORD pid) {
    for (int i = 0; i < 300; ++i) {
        if (HWND hwnd = FindVisibleWindowOf(pid))
            return hwnd;
        Sleep(50);
    }
    return nullptr;
}

bool Ended(const PROCESS_INFORMATION& pi, DWORD ms) {
    return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0;
}

void Close(PROCESS_INFORMATION& pi) {
    EndProgram(pi, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

HWND ListOf(HWND frame) {
    HWND view = FindWindowExA(frame, nullptr, "MiroloLogView", nullptr);
    return view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

HWND SelectorOf(HWND frame) {
    HWND toolbar = FindWindowExA(frame, nullptr, TOOLBARCLASSNAMEA, nullptr);
    return toolbar ? GetDlgItem(toolbar, IDC_LIST_SELECTOR) : nullptr;
}

// The list shown, as the selector says once the list has loaded: 0 send, 1 receive.
LRESULT WaitForSelection(HWND frame, LRESULT wanted) {
    LRESULT shown = CB_ERR;
    for (int i = 0; i < 200 && shown != wanted; ++i, Sleep(50))
        shown = SendMessageA(SelectorOf(frame), CB_GETCURSEL, 0, 0);
    return shown;
}

int Rows(HWND frame) {
    return static_cast<int>(SendMessageA(ListOf(frame), LVM_GETITEMCOUNT, 0, 0));
}
}  // namespace

TEST(LogbookSecondStart, TheRunningWindowComesForwardAndShowsTheListAskedFor) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    WriteFileBytes(settings.LogFolder() + "receive.csv", "a,OK,\"Jan.05,2026 14:03:27\",1,a.smh,0\r\n"
                                                         "b,OK,\"Jan.04,2026 14:03:27\",1,b.smh,1\r\n");
    WriteFileBytes(settings.LogFolder() + "send.csv", "c,OK,1,\"Jan.05,2026 14:03:27\",1,,,0\r\n");

    PROCESS_INFORMATION first = Start(ShortPath(settings.LogFolder() + "receive.csv"));
    HWND frame = WaitForWindow(first.dwProcessId);
    ASSERT_NE(frame, nullptr);
    char caption[32] = {};
    GetWindowTextA(frame, caption, sizeof caption);
    EXPECT_STREQ(caption, "查看清单");
    EXPECT_EQ(WaitForSelection(frame, 1), 1);
    EXPECT_EQ(Rows(frame), 2);
    ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(frame));

    // The shortcuts pass the full path in quotes.
    PROCESS_INFORMATION second = Start("\"" + settings.LogFolder() + "send.csv\"");
    EXPECT_TRUE(Ended(second, 20000)) << "the second start did not end";
    EXPECT_EQ(FindVisibleWindowOf(second.dwProcessId), nullptr);
    Close(second);
    EXPECT_FALSE(IsIconic(frame)) << "the running window was not restored";
    EXPECT_EQ(WaitForSelection(frame, 0), 0);
    EXPECT_EQ(Rows(frame), 1);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(first, 20000));
    Close(first);
}
