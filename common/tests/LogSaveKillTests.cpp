#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/testing/SampleLogs.h"
#include "framework/testing/TempFolder.h"

namespace {
std::string ChildPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + "log_save_child.exe";
}
}  // namespace

// However a rewrite of "receive.csv" is cut off, the log on disk is one of the two complete logs, never a
// truncated or half-written one.
TEST(LogSaveKill, AKilledSaveLeavesTheOldOrTheNewLog) {
    CTempFolder folder;
    const std::string path = folder.Path() + "receive.csv";
    // The child's logs: loaded and saved, they are written back byte for byte.
    const std::string logs[2] = {SampleReceiveLog(10000, kSampleLogNewest, 60, 0),
                                 SampleReceiveLog(10000, kSampleLogNewest, 60, 1)};
    ASSERT_GT(logs[0].size(), 500000u);

    std::mt19937 random(20261208);
    int seen[2] = {0, 0};
    constexpr int kRuns = 24;
    for (int run = 0; run < kRuns; ++run) {
        WriteFileBytes(path, logs[0]);
        const std::string eventName = "mirolo-log-kill-test-" + std::to_string(GetCurrentProcessId());
        HANDLE started = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        // The folder ends in a backslash, doubled so that it does not quote the closing quote.
        std::string command = "\"" + ChildPath() + "\" \"" + folder.Path() + "\\\" " + eventName;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        ASSERT_EQ(WaitForSingleObject(started, 20000), WAIT_OBJECT_0) << "run " << run;
        Sleep(std::uniform_int_distribution<DWORD>(0, 150)(random));
        DWORD code = 0;
        ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
        ASSERT_EQ(code, STILL_ACTIVE) << "the saving stopped by itself in run " << run;
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 20000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(started);

        const std::string after = ReadFileBytes(path);
        const bool first = after == logs[0];
        const bool second = after == logs[1];
        ASSERT_TRUE(first || second) << "run " << run << ": " << after.size() << " bytes of neither log";
        ++seen[second ? 1 : 0];
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}
