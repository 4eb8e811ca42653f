#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/WholeFile.h"
#include "common/testing/SampleBook.h"
#include "common/tests/KilledSaves.h"
#include "framework/testing/TempFolder.h"
#include "tools/process/RemoteControl.h"

// However a save is cut off, the book on disk is one of the two complete books, never a mixture or a part.
TEST(AddressSaveKill, AKilledSaveLeavesTheOldOrTheNewBook) {
    CTempFolder folder;
    const std::string path = folder.Path() + "Addr.csv";
    const std::string books[2] = {SampleAddressBook(10000, 0), SampleAddressBook(10000, 1)};
    ASSERT_GT(books[0].size(), 600000u);
    ASSERT_EQ(books[0].size(), books[1].size());

    const auto seen = KillDuringSaves("address_save_child.exe", "\"" + path + "\"", path, books, 20261207);
    // The child's first save writes the second book: seeing both shows the kills landed at different points.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

// The address book program and the phone book closing at the same moment: both saves succeed without a word,
// every read meanwhile gives a whole book, and the book is the one written last.
TEST(AddressSaveRace, TwoProgramsSavingTheBookAtOnceBothSucceed) {
    CTempFolder folder;
    const std::string path = folder.Path() + "Addr.csv";
    const std::string books[2] = {SampleAddressBook(10000, 0), SampleAddressBook(10000, 1)};
    WriteFileBytes(path, books[0]);
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, "mirolo-save-race");
    const std::string command = "\"" + BuiltProgram("address_save_child.exe") + "\" \"" + path + "\" mirolo-save-race";
    CRunningProgram savers[2] = {CRunningProgram::Start(command), CRunningProgram::Start(command)};
    ASSERT_EQ(WaitForSingleObject(started, 20000), WAIT_OBJECT_0);
    int reads = 0;
    for (const DWORD end = GetTickCount() + 3000; GetTickCount() < end; ++reads) {
        std::string bytes;
        ASSERT_EQ(ReadWholeFile(path, bytes), FileResult::kOk) << "read " << reads;
        ASSERT_TRUE(bytes == books[0] || bytes == books[1]) << "read " << reads << ": " << bytes.size() << " bytes";
    }
    for (CRunningProgram& saver : savers)
        EXPECT_FALSE(saver.Ended(0)) << "a save failed, exit code " << saver.ExitCode();
    CloseHandle(started);
    EXPECT_GT(reads, 10);
}
