#include <gtest/gtest.h>

#include "framework/core/PathDisplay.h"

TEST(AbbreviatePath, KeepsTheRootAndAsMuchOfTheEndAsFits) {
    EXPECT_EQ(AbbreviatePath("C:\\tray\\a.smh", 30), "C:\\tray\\a.smh");
    EXPECT_EQ(AbbreviatePath("C:\\Program Files\\LUMENPOST\\tray\\R20261201.smh", 30), "C:\\...\\tray\\R20261201.smh");
    EXPECT_EQ(AbbreviatePath("C:\\Program Files\\LUMENPOST\\tray\\R20261201.smh", 40),
              "C:\\...\\LUMENPOST\\tray\\R20261201.smh");
    EXPECT_EQ(AbbreviatePath("\\\\server\\share\\faxes\\in\\R2026.smh", 28), "\\\\server\\share\\...\\R2026.smh");
    // Not even the root and the name fit: the name alone, however long.
    EXPECT_EQ(AbbreviatePath("C:\\faxes\\a-very-long-name-of-a-received-fax.smh", 30),
              "a-very-long-name-of-a-received-fax.smh");
    EXPECT_EQ(AbbreviatePath("no-folder-at-all-and-quite-long.smh", 10), "no-folder-at-all-and-quite-long.smh");
}

TEST(AbbreviatePath, ASecondByteThatLooksLikeABackslashSeparatesNothing) {
    // "\x81\x5C" is one character: the folder it begins is shown whole or not at all.
    const std::string path = "C:\\Documents\\\x81\\folder\\fax.smh";
    EXPECT_EQ(AbbreviatePath(path, 23), "C:\\...\\\x81\\folder\\fax.smh");
    EXPECT_EQ(AbbreviatePath(path, 22), "C:\\...\\fax.smh");
}
