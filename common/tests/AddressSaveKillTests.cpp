#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/testing/SampleBook.h"
#include "framework/testing/TempFolder.h"

namespace {
std::string ChildPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + "address_save_child.exe";
}
}  // namespace

// However a save is cut off, the book on disk is one of the two complete books, never a mixture or a part.
TEST(AddressSaveKill, AKilledSaveLeavesTheOldOrTheNewBook) {
    CTempFolder folder;
    const std::string path = folder.Path() + "Addr.csv";
    const std::string books[2] = {SampleAddressBook(10000, 0), SampleAddressBook(10000, 1)};
    ASSERT_GT(books[0].size(), 600000u);
    ASSERT_EQ(books[0].size(), books[1].size());

    std::mt19937 random(20261207);
    int seen[2] = {0, 0};
    constexpr int kRuns = 24;
    for (int run = 0; run < kRuns; ++run) {
        WriteFileBytes(path, books[0]);
        const std::string eventName = "mirolo-kill-test-" + std::to_string(GetCurrentProcessId());
        HANDLE started = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        std::string command = "\"" + ChildPath() + "\" \"" + path + "\" " + eventName;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        ASSERT_EQ(WaitForSingleObject(started, 20000), WAIT_OBJECT_0) << "run " << run;
        Sleep(std::uniform_int_distribution<DWORD>(0, 120)(random));
        DWORD code = 0;
        ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
        ASSERT_EQ(code, STILL_ACTIVE) << "the saving stopped by itself in run " << run;
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 20000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(started);

        const std::string after = ReadFileBytes(path);
        const bool first = after == books[0];
        const bool second = after == books[1];
        ASSERT_TRUE(first || second) << "run " << run << ": " << after.size() << " bytes of neither book";
        ++seen[second ? 1 : 0];
    }
    // The child's first save writes the second book: seeing both shows the kills landed at different points.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}
