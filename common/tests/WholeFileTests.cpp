#include <windows.h>

#include <gtest/gtest.h>

#include "common/WholeFile.h"
#include "framework/testing/TempFolder.h"

namespace {
class WholeFileTest : public testing::Test {
protected:
    CTempFolder m_folder;
    const std::string m_path = m_folder.Path() + "Addr.csv";
};
}  // namespace

TEST_F(WholeFileTest, ReplacingWritesTheNewBookAndLeavesNoCopyBehind) {
    EXPECT_EQ(ReplaceWholeFile(m_path, "a,1,,\r\n"), FileResult::kOk) << "a first save creates the file";
    EXPECT_EQ(ReadFileBytes(m_path), "a,1,,\r\n");
    EXPECT_EQ(ReplaceWholeFile(m_path, "b,2,,\r\n"), FileResult::kOk);
    EXPECT_EQ(ReadFileBytes(m_path), "b,2,,\r\n");
    EXPECT_FALSE(FileExists(ReplacementCopyPath(m_path)));

    // A copy left by a save that was cut off does not stop the next one.
    WriteFileBytes(ReplacementCopyPath(m_path), "half a bo");
    EXPECT_EQ(ReplaceWholeFile(m_path, ""), FileResult::kOk);
    EXPECT_EQ(ReadFileBytes(m_path), "");
    EXPECT_FALSE(FileExists(ReplacementCopyPath(m_path)));
}

TEST_F(WholeFileTest, ABookThatCannotBeWrittenStaysAsItWas) {
    WriteFileBytes(m_path, "old,1,,\r\n");
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReplaceWholeFile(m_path, "new,2,,\r\n"), FileResult::kCannotOpen);
    EXPECT_EQ(ReadFileBytes(m_path), "old,1,,\r\n");
    EXPECT_FALSE(FileExists(ReplacementCopyPath(m_path)));
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Another program holds it open without sharing.
    HANDLE holder = CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReplaceWholeFile(m_path, "new,2,,\r\n"), FileResult::kCannotOpen);
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(m_path), "old,1,,\r\n");

    EXPECT_EQ(ReplaceWholeFile(m_folder.Path() + "no such folder\\Addr.csv", "x"), FileResult::kCannotOpen);
}

TEST_F(WholeFileTest, ACopyThatCannotTakeTheBooksPlaceIsRemovedAndTheBookKept) {
    WriteFileBytes(m_path, "old,1,,\r\n");
    // A folder where the copy would go: it can be neither created nor replaced.
    ASSERT_TRUE(CreateDirectoryA(ReplacementCopyPath(m_path).c_str(), nullptr));
    EXPECT_NE(ReplaceWholeFile(m_path, "new,2,,\r\n"), FileResult::kOk);
    EXPECT_EQ(ReadFileBytes(m_path), "old,1,,\r\n");
}

TEST_F(WholeFileTest, ReadingGivesTheBytesOrSaysItCannotOpen) {
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(m_path, bytes), FileResult::kCannotOpen);
    EXPECT_TRUE(bytes.empty());
    std::string book;
    for (int i = 0; i < 30000; ++i)
        book += "name" + std::to_string(i) + ",0571-" + std::to_string(i) + ",,\r\n";
    WriteFileBytes(m_path, book);
    EXPECT_EQ(ReadWholeFile(m_path, bytes), FileResult::kOk);
    EXPECT_EQ(bytes, book);
    EXPECT_EQ(ReadWholeFile(m_folder.Path(), bytes), FileResult::kCannotOpen) << "a folder";
}
