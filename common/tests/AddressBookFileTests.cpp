#include <windows.h>

#include <gtest/gtest.h>

#include "common/AddressBookFile.h"
#include "framework/testing/TempFolder.h"

namespace {
class AddressBookFileTest : public testing::Test {
protected:
    CTempFolder m_folder;
    const std::string m_path = m_folder.Path() + "Addr.csv";
};
}  // namespace

TEST_F(AddressBookFileTest, ReplacingWritesTheNewBookAndLeavesNoCopyBehind) {
    EXPECT_EQ(ReplaceAddressFile(m_path, "a,1,,\r\n"), AddressFileResult::kOk) << "a first save creates the file";
    EXPECT_EQ(ReadFileBytes(m_path), "a,1,,\r\n");
    EXPECT_EQ(ReplaceAddressFile(m_path, "b,2,,\r\n"), AddressFileResult::kOk);
    EXPECT_EQ(ReadFileBytes(m_path), "b,2,,\r\n");
    EXPECT_FALSE(FileExists(AddressFileCopyPath(m_path)));

    // A copy left by a save that was cut off does not stop the next one.
    WriteFileBytes(AddressFileCopyPath(m_path), "half a bo");
    EXPECT_EQ(ReplaceAddressFile(m_path, ""), AddressFileResult::kOk);
    EXPECT_EQ(ReadFileBytes(m_path), "");
    EXPECT_FALSE(FileExists(AddressFileCopyPath(m_path)));
}

TEST_F(AddressBookFileTest, ABookThatCannotBeWrittenStaysAsItWas) {
    WriteFileBytes(m_path, "old,1,,\r\n");
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReplaceAddressFile(m_path, "new,2,,\r\n"), AddressFileResult::kCannotOpen);
    EXPECT_EQ(ReadFileBytes(m_path), "old,1,,\r\n");
    EXPECT_FALSE(FileExists(AddressFileCopyPath(m_path)));
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Another program holds it open without sharing.
    HANDLE holder = CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReplaceAddressFile(m_path, "new,2,,\r\n"), AddressFileResult::kCannotOpen);
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(m_path), "old,1,,\r\n");

    EXPECT_EQ(ReplaceAddressFile(m_folder.Path() + "no such folder\\Addr.csv", "x"), AddressFileResult::kCannotOpen);
}

TEST_F(AddressBookFileTest, ACopyThatCannotTakeTheBooksPlaceIsRemovedAndTheBookKept) {
    WriteFileBytes(m_path, "old,1,,\r\n");
    // A folder where the copy would go: it can be neither created nor replaced.
    ASSERT_TRUE(CreateDirectoryA(AddressFileCopyPath(m_path).c_str(), nullptr));
    EXPECT_NE(ReplaceAddressFile(m_path, "new,2,,\r\n"), AddressFileResult::kOk);
    EXPECT_EQ(ReadFileBytes(m_path), "old,1,,\r\n");
}

TEST_F(AddressBookFileTest, ReadingGivesTheBytesOrSaysItCannotOpen) {
    std::string bytes = "stale";
    EXPECT_EQ(ReadAddressFile(m_path, bytes), AddressFileResult::kCannotOpen);
    EXPECT_TRUE(bytes.empty());
    std::string book;
    for (int i = 0; i < 30000; ++i)
        book += "name" + std::to_string(i) + ",0571-" + std::to_string(i) + ",,\r\n";
    WriteFileBytes(m_path, book);
    EXPECT_EQ(ReadAddressFile(m_path, bytes), AddressFileResult::kOk);
    EXPECT_EQ(bytes, book);
    EXPECT_EQ(ReadAddressFile(m_folder.Path(), bytes), AddressFileResult::kCannotOpen) << "a folder";
}
