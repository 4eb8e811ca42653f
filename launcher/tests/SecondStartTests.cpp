#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/testing/InstalledSettings.h"

// A real second Launcher process against a running first one.
namespace {
std::string LauncherPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "Launcher.exe";
}

struct Process {
    PROCESS_INFORMATION pi{};
    bool Start(const std::string& exe) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    bool WaitExit(DWORD ms) const { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    ~Process() {
        if (pi.hProcess) {
            if (!WaitExit(0))
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

struct WindowSearch {
    DWORD pid;
    int count;
    HWND found;
};

BOOL CALLBACK CountMenus(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (strcmp(text, "主菜单") == 0 && IsWindowVisible(hwnd)) {
        ++s->count;
        if (pid == s->pid)
            s->found = hwnd;
    }
    return TRUE;
}

WindowSearch FindMenus(DWORD pid) {
    WindowSearch s{pid, 0, nullptr};
    EnumWindows(&CountMenus, reinterpret_cast<LPARAM>(&s));
    return s;
}

HWND WaitForMenu(DWORD pid) {
    for (int i = 0; i < 200; ++i) {
        if (HWND hwnd = FindMenus(pid).found)
            return hwnd;
        Sleep(50);
    }
    return nullptr;
}
}  // namespace

TEST(LauncherSecondStart, RestoresTheRunningMenuAndEndsWithoutAWindow) {
    CInstalledSettings settings("C:\\LUMENPOST");
    Process first;
    ASSERT_TRUE(first.Start(LauncherPath()));
    HWND menu = WaitForMenu(first.pi.dwProcessId);
    ASSERT_NE(menu, nullptr);
    ShowWindow(menu, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(menu));

    Process second;
    ASSERT_TRUE(second.Start(LauncherPath()));
    ASSERT_TRUE(second.WaitExit(20000)) << "the second start did not end";
    EXPECT_FALSE(IsIconic(menu)) << "the running menu was not restored";
    WindowSearch after = FindMenus(second.pi.dwProcessId);
    EXPECT_EQ(after.count, 1);
    EXPECT_EQ(after.found, nullptr);

    PostMessageA(menu, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitExit(20000));
    DWORD code = 99;
    GetExitCodeProcess(first.pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

TEST(LauncherSecondStart, AfterTheFirstEndsANewStartRunsAgain) {
    CInstalledSettings settings("C:\\LUMENPOST");
    for (int round = 0; round < 2; ++round) {
        Process p;
        ASSERT_TRUE(p.Start(LauncherPath()));
        HWND menu = WaitForMenu(p.pi.dwProcessId);
        ASSERT_NE(menu, nullptr) << "round " << round;
        PostMessageA(menu, WM_CLOSE, 0, 0);
        EXPECT_TRUE(p.WaitExit(20000));
    }
}
