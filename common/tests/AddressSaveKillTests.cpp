#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/testing/SampleBook.h"
#include "common/tests/KilledSaves.h"
#include "framework/testing/TempFolder.h"

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
