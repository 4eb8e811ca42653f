#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/testing/InstalledSettings.h"
#include "framework/testing/TempFolder.h"
#include "tools/process/ProcessWindows.h"

// A real second Contacts process against a running first one.
namespace {
std::string ContactsPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + "Contacts.exe";
}

PROCESS_INFORMATION Start() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + ContactsPath() + "\"";
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
}  // namespace

TEST(ContactsSecondStart, RestoresTheRunningWindowAndStartsNothingNew) {
    CTempFolder install;
    CInstalledSettings settings(install.Path() + "LUMENPOST");
    WriteFileBytes(settings.ProgramFolder() + "Addr.csv", "a,1,,\r\n");
    PROCESS_INFORMATION first = Start();
    HWND book = WaitForWindow(first.dwProcessId);
    ASSERT_NE(book, nullptr);
    char caption[32] = {};
    GetWindowTextA(book, caption, sizeof caption);
    EXPECT_STREQ(caption, "地址簿");
    ShowWindow(book, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(book));

    PROCESS_INFORMATION second = Start();
    EXPECT_TRUE(Ended(second, 20000)) << "the second start did not end";
    EXPECT_FALSE(IsIconic(book)) << "the running window was not restored";
    EXPECT_EQ(FindVisibleWindowOf(second.dwProcessId), nullptr);
    Close(second);

    // The running copy ends normally and leaves the book as it found it.
    PostMessageA(book, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(first, 20000));
    Close(first);
    EXPECT_EQ(ReadFileBytes(settings.ProgramFolder() + "Addr.csv"), "a,1,,\r\n");
}
