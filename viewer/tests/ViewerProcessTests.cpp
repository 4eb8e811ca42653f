#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/InstalledSettings.h"
#include "framework/Profile.h"
#include "framework/testing/TempFolder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "tools/process/ProcessWindows.h"
#include "tools/process/RemoteControl.h"
#include "common/core/SmhWriter.h"
#include "common/core/SmhFormat.h"
#include "viewer/resource.h"

// Real Viewer processes: the second start hands its file to the first.
namespace {
std::string ViewerPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + "Viewer.exe";
}

PROCESS_INFORMATION Start(const std::string& file) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + ViewerPath() + "\"";
    if (!file.empty())
        command += " \"" + file + "\"";
    EXPECT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    return pi;
}

std::string Caption(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

struct WindowSearch {
    DWORD pid;
    const std::string* prefix;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->pid && IsWindowVisible(hwnd) && Caption(hwnd).rfind(*search->prefix, 0) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Waits for a visible top-level window of the process whose caption starts with `prefix`.
HWND WaitForWindow(DWORD pid, const std::string& prefix) {
    for (int i = 0; i < 300; ++i) {
        WindowSearch search{pid, &prefix, nullptr};
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(50);
    }
    return nullptr;
}

bool Ended(const PROCESS_INFORMATION& pi, DWORD ms) {
    return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0;
}

void Finish(PROCESS_INFORMATION& pi) {
    EndProgram(pi, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

class ViewerProcessTest : public testing::Test {
protected:
    std::string WriteFax(const std::string& name) {
        const std::string path = m_settings.RecvFolder() + name;
        const std::vector<uint8_t> bytes =
            BuildSmhDocument(MakeSmhHeader(1), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 300, 3, 5)))});
        WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }

    CTempFolder m_install;
    CInstalledSettings m_settings{m_install.Path() + "LUMENPOST"};
};
}  // namespace

TEST_F(ViewerProcessTest, ASecondStartHandsItsFileToTheRunningViewer) {
    const std::string fax = WriteFax("handed.smh");
    PROCESS_INFORMATION first = Start("");
    HWND main = WaitForWindow(first.dwProcessId, "查看器");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Caption(main), "查看器 - Untitled");

    PROCESS_INFORMATION second = Start(fax);
    EXPECT_TRUE(Ended(second, 20000)) << "the second start did not end";
    EXPECT_EQ(FindVisibleWindowOf(second.dwProcessId), nullptr);
    Finish(second);
    EXPECT_TRUE(WaitUntil([&] { return Caption(main) == "查看器 - handed.smh"; })) << Caption(main);
    EXPECT_EQ(CRegistryProfile("Orvex", "mirolo").GetString("Recent File List", "File1"), fax);

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(first, 20000));
    Finish(first);
}

TEST_F(ViewerProcessTest, ASecondStartsFileIsHandedOverWithItsFullPathHoweverLong) {
    const std::string fax = WriteFax("relative.smh");
    PROCESS_INFORMATION first = Start("");
    HWND main = WaitForWindow(first.dwProcessId, "查看器");
    ASSERT_NE(main, nullptr);
    CRegistryProfile profile("Orvex", "mirolo");

    // Started in the fax's folder with the bare name: the running Viewer has another current folder.
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION second{};
    std::string command = "\"" + ViewerPath() + "\" relative.smh";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               m_settings.RecvFolder().c_str(), &si, &second));
    EXPECT_TRUE(Ended(second, 20000));
    Finish(second);
    EXPECT_EQ(profile.GetString("Recent File List", "File1"), fax);
    EXPECT_TRUE(WaitUntil([&] { return Caption(main) == "查看器 - relative.smh"; })) << Caption(main);

    // An argument longer than any path buffer arrives whole; the running Viewer reports it cannot open it.
    const std::string longPath = "C:\\" + std::string(600, 'a') + ".smh";
    PROCESS_INFORMATION third = Start(longPath);
    EXPECT_TRUE(Ended(third, 20000));
    Finish(third);
    EXPECT_EQ(profile.GetString("Recent File List", "File1"), longPath);
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (box = FindWindowExA(nullptr, nullptr, "#32770", "查看器")) != nullptr; }));
    if (box)
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return Caption(main) == "查看器 - Untitled"; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(first, 20000));
    Finish(first);
}

TEST_F(ViewerProcessTest, ABadFileOnTheCommandLineIsReportedAndEndsTheStart) {
    const std::string bad = m_settings.RecvFolder() + "bad.smh";
    WriteFileBytes(bad, std::string(1000, 'x'));
    PROCESS_INFORMATION viewer = Start(bad);
    HWND box = WaitForWindow(viewer.dwProcessId, "查看器");
    ASSERT_NE(box, nullptr);
    // The message comes before the main window shows, titled with the program's name.
    HWND text = FindWindowExA(box, nullptr, "Static", "这不是有效的SMH文件");
    EXPECT_NE(text, nullptr) << Caption(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Ended(viewer, 20000)) << "an empty Viewer stayed";
    Finish(viewer);
}

TEST_F(ViewerProcessTest, OpeningAnSmhFileFromTheShellReachesTheRunningViewer) {
    const std::string fax = WriteFax("from shell.smh");
    PROCESS_INFORMATION viewer = Start("");
    HWND main = WaitForWindow(viewer.dwProcessId, "查看器");
    ASSERT_NE(main, nullptr);
    // The running Viewer registered the document type with its DDE open command and its icon.
    char icon[MAX_PATH] = {};
    LONG size = sizeof icon;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "Viewer.Document\\DefaultIcon", icon, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(icon), m_settings.ProgramFolder() + "viewer.exe,1");
    char type[64] = {};
    size = sizeof type;
    RegQueryValueA(HKEY_CLASSES_ROOT, ".smh", type, &size);
    EXPECT_STREQ(type, "Viewer.Document");
    const HINSTANCE result = ShellExecuteA(nullptr, "open", fax.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    for (int i = 0; i < 100 && Caption(main) != "查看器 - from shell.smh"; ++i)
        Sleep(50);
    EXPECT_EQ(Caption(main), "查看器 - from shell.smh");
    EXPECT_EQ(WaitForWindow(viewer.dwProcessId, "查看器 - "), main) << "no second Viewer";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(viewer, 20000));
    Finish(viewer);
}

// What a user can do to a Viewer that is busy: start it again with another fax, or close it. Neither runs inside
// the work; both are carried out once it is done.
namespace {
class ViewerBusyProcessTest : public ViewerProcessTest {
protected:
    // One page of the most rows a page may have, dense: decoding it keeps the Viewer busy for a while.
    std::string WriteLongFax(const std::string& name) {
        const std::string path = m_settings.RecvFolder() + name;
        const std::vector<uint8_t> bytes =
            BuildSmhDocument(MakeSmhHeader(2), {SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 8192, 20, 7))),
                                                SmhPageSpec(mh::EncodeMh(mh::RandomPage(1728, 100, 3, 8)))});
        WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
    // Polled without pause: the work may take only a few frames.
    static bool WaitForBusy(HWND main) {
        for (const ULONGLONG end = GetTickCount64() + 20000; GetTickCount64() < end;) {
            if (!IsWindowEnabled(main))
                return true;
            Sleep(0);
        }
        return false;
    }
    static DWORD ExitCode(const PROCESS_INFORMATION& pi) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
};
}  // namespace

TEST_F(ViewerBusyProcessTest, ASecondStartAndACloseDuringALongDecodeWaitForItAndThenRun) {
    const std::string longFax = WriteLongFax("long.smh");
    const std::string shortFax = WriteFax("short.smh");
    PROCESS_INFORMATION viewer = Start("");
    HWND main = WaitForWindow(viewer.dwProcessId, "查看器");
    ASSERT_NE(main, nullptr);

    // The long fax comes from another start; while it decodes, this process hands over the short one as a second
    // start does: the file first in the saved list, then the message, which returns at once.
    PROCESS_INFORMATION second = Start(longFax);
    ASSERT_TRUE(WaitForBusy(main));
    CRegistryProfile("Orvex", "mirolo").WriteString("Recent File List", "File1", shortFax);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(main, WM_OPEN_RECENT_FIRST, 0, 0, SMTO_BLOCK, 20000, &answer));
    EXPECT_FALSE(IsWindowEnabled(main)) << "the decode ended before the hand-over came";
    EXPECT_TRUE(Ended(second, 20000));
    EXPECT_TRUE(WaitUntil([&] { return Caption(main) == "查看器 - short.smh"; }, 20000)) << Caption(main);
    EXPECT_EQ(CRegistryProfile("Orvex", "mirolo").GetString("Recent File List", "File1"), shortFax);
    EXPECT_EQ(CRegistryProfile("Orvex", "mirolo").GetString("Recent File List", "File2"), longFax);

    // A close in the middle of a decode: the Viewer finishes, then ends as a close ends it.
    PROCESS_INFORMATION fourth = Start(longFax);
    ASSERT_TRUE(WaitForBusy(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(viewer, 30000));
    EXPECT_EQ(ExitCode(viewer), 0u);
    EXPECT_TRUE(Ended(fourth, 20000));
    for (PROCESS_INFORMATION* pi : {&second, &fourth, &viewer})
        Finish(*pi);
}

TEST_F(ViewerBusyProcessTest, ASecondStartAndACloseWhileAFaxIsHandedToTheSpoolerWaitForTheHandOff) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    ASSERT_FALSE(FileExists(std::string(system) + "\\kdmspl.exe")) << "the job list is read here, not by a spooler";
    const std::string sent = WriteFax("sent.smh");
    const std::string other = WriteFax("other.smh");
    PROCESS_INFORMATION viewer = Start(sent);
    HWND main = WaitForWindow(viewer.dwProcessId, "查看器 - sent.smh");
    ASSERT_NE(main, nullptr);
    const std::string copy = m_settings.RecvFolder() + "xmitfaxtemp.smh";
    const std::string sentBytes = ReadFileBytes(sent);

    // Send print waits 2 s for the spooler with the window alive; a second start arrives meanwhile.
    PostMessageA(main, WM_COMMAND, ID_FILE_SEND_PRINT, 0);
    ASSERT_TRUE(WaitForBusy(main));
    PROCESS_INFORMATION second = Start(other);
    EXPECT_TRUE(Ended(second, 20000));
    EXPECT_EQ(Caption(main), "查看器 - sent.smh") << "the hand-off goes on with its own document";
    EXPECT_TRUE(WaitUntil([&] { return Caption(main) == "查看器 - other.smh"; }, 20000)) << Caption(main);
    EXPECT_EQ(ReadFileBytes(m_settings.RecvFolder() + "RESEND.TMP"), copy);
    EXPECT_EQ(ReadFileBytes(copy).substr(kSmhFileHeaderSize), sentBytes.substr(kSmhFileHeaderSize));

    // The same with a close: the hand-off ends first, then the Viewer.
    PostMessageA(main, WM_COMMAND, ID_FILE_SEND_PRINT, 0);
    ASSERT_TRUE(WaitForBusy(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(viewer, 20000));
    EXPECT_EQ(ExitCode(viewer), 0u);
    EXPECT_EQ(ReadFileBytes(copy).substr(kSmhFileHeaderSize), ReadFileBytes(other).substr(kSmhFileHeaderSize));
    Finish(second);
    Finish(viewer);
}
