#include <gtest/gtest.h>

#include "instkit/core/BrowseTexts.h"
#include "instkit/core/GroupName.h"
#include "instkit/core/SetupCommand.h"

using namespace instkit;

TEST(BrowseTexts, TheLastCharacterDelimitsTitleAndButtons) {
    const BrowseTexts texts = SplitBrowseTexts("A|B|C|");
    EXPECT_EQ(texts.count, 3);
    EXPECT_EQ(texts.title, "A");
    EXPECT_EQ(texts.ok, "B");
    EXPECT_EQ(texts.cancel, "C");
    const BrowseTexts hashes = SplitBrowseTexts("Find printer#Use it#Not now#");
    EXPECT_EQ(hashes.ok, "Use it");
    EXPECT_EQ(hashes.cancel, "Not now");
}

TEST(BrowseTexts, MissingTextsAreAbsentNotReadBeyondTheString) {
    EXPECT_EQ(SplitBrowseTexts("").count, 0);
    EXPECT_EQ(SplitBrowseTexts("|").count, 1);
    const BrowseTexts two = SplitBrowseTexts("A|B|");
    EXPECT_EQ(two.count, 2);
    EXPECT_EQ(two.ok, "B");
    EXPECT_EQ(SplitBrowseTexts("A|B|C|D|").count, 3);
}

TEST(BrowseTexts, ADoubleByteCharacterEndingInTheDelimiterStaysWhole) {
    // In code page 936 a double-byte character may end in 0x7C, the "|": 0x81 0x7C is one.
    const std::string withTrail = "\x81|";
    const BrowseTexts texts = SplitBrowseTexts("A|" + withTrail + "|C|");
    EXPECT_EQ(texts.count, 3);
    EXPECT_EQ(texts.ok, withTrail);
}

TEST(SetupCommand, TheSecondWordIsTheLocation) {
    const SetupWords words = SplitSetupCommandLine("X D:\\");
    EXPECT_EQ(words.word, "X");
    EXPECT_EQ(words.location, "D:\\");
    EXPECT_EQ(SetupCommand(words.location, words.word), "D:\\SETUP.EXE /k \"X\"");
    EXPECT_EQ(SetupCommand("E:\\Disk1", "Fax"), "E:\\Disk1\\SETUP.EXE /k \"Fax\"");
    EXPECT_EQ(SplitSetupCommandLine("  X \t D:\\  extra").location, "D:\\");
}

TEST(SetupCommand, OneWordLeavesTheLocationToTheCaller) {
    EXPECT_EQ(SplitSetupCommandLine("X").location, "");
    EXPECT_EQ(SplitSetupCommandLine("X  ").location, "");
    EXPECT_EQ(SplitSetupCommandLine("").word, "");
    EXPECT_EQ(SetupCommand("", "X"), "SETUP.EXE /k \"X\"");
}

TEST(SetupCommand, ABackslashAsSecondByteIsNoSeparator) {
    // "表" is 0xB1 0xED; "\x95\x5C" is a double-byte character ending in 0x5C.
    EXPECT_EQ(WithTrailingBackslash("D:\\\x95\x5C"), "D:\\\x95\x5C\\");
    EXPECT_EQ(WithTrailingBackslash("D:\\A\\"), "D:\\A\\");
    EXPECT_EQ(SetupProgramPath("D:\\A"), "D:\\A\\SETUP.EXE");
}

TEST(SetupCommand, TheMostRecentEntryIsTheListsFirstLetter) {
    EXPECT_EQ(MostRecentValueName("cab"), "c");
    EXPECT_EQ(MostRecentValueName(""), "");
}

TEST(GroupName, OnlyNamesInsideTheProgramsFolder) {
    EXPECT_TRUE(IsGroupName("Mirolo"));
    EXPECT_TRUE(IsGroupName("Orvex\\Mirolo"));
    EXPECT_TRUE(IsGroupName("传真 .x"));
    for (const char* outside : {"", "\\", "Orvex\\", "\\Mirolo", "..", ".", "A\\..\\..", "C:Mirolo", "A\\\\B"})
        EXPECT_FALSE(IsGroupName(outside)) << outside;
}
