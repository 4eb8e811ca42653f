#include "common/tests/KilledSaves.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "framework/testing/TempFolder.h"

namespace {
constexpr int kRuns = 24;

std::string ChildPath(const char* child) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + child;
}
}  // namespace

std::array<int, 2> KillDuringSaves(const char* child,
                                   const std::string& childArguments,
                                   const std::string& path,
                                   const std::string (&versions)[2],
                                   uint32_t seed) {
    std::mt19937 random(seed);
    std::array<int, 2> seen = {0, 0};
    for (int run = 0; run < kRuns; ++run) {
        WriteFileBytes(path, versions[0]);
        const std::string eventName = "mirolo-kill-test-" + std::to_string(GetCurrentProcessId());
        HANDLE started = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        std::string command = "\"" + ChildPath(child) + "\" " + childArguments + " " + eventName;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "cannot start " << command;
            CloseHandle(started);
            return seen;
        }
        const bool saving = WaitForSingleObject(started, 20000) == WAIT_OBJECT_0;
        Sleep(std::uniform_int_distribution<DWORD>(0, 150)(random));
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 20000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(started);
        if (!saving || code != STILL_ACTIVE) {
            ADD_FAILURE() << "run " << run << ": the saving " << (saving ? "stopped by itself" : "never began");
            return seen;
        }

        const std::string after = ReadFileBytes(path);
        const bool first = after == versions[0];
        const bool second = after == versions[1];
        if (!first && !second) {
            ADD_FAILURE() << "run " << run << ": " << after.size() << " bytes of neither version";
            return seen;
        }
        ++seen[second ? 1 : 0];
    }
    return seen;
}
