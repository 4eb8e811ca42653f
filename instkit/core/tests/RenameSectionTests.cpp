#include <gtest/gtest.h>

#include <string>

#include "instkit/core/RenameSection.h"

using namespace instkit;

namespace {
// The file's bytes with the room the caller maps beyond them.
std::string Insert(const std::string& file, const std::string& line) {
    std::string buffer = file + std::string(RenameRoom(line), '\xAA');
    buffer.resize(InsertRenameLine(buffer.data(), file.size(), line));
    return buffer;
}
}  // namespace

TEST(RenameLine, NamesTheDestinationOrNulForADeletion) {
    EXPECT_EQ(RenameLine("C:\\WINDOWS\\SYSTEM\\A.DLL", "C:\\WINDOWS\\A.TMP"),
              "C:\\WINDOWS\\SYSTEM\\A.DLL=C:\\WINDOWS\\A.TMP\r\n");
    EXPECT_EQ(RenameLine(nullptr, "C:\\WINDOWS\\SYSTEM\\ZK2INST.DRV"), "NUL=C:\\WINDOWS\\SYSTEM\\ZK2INST.DRV\r\n");
}

TEST(RenameLine, RefusesPathsTheSystemCannotTake) {
    const std::string longest(kRenamePathLimit, 'a');
    EXPECT_FALSE(RenameLine(longest.c_str(), longest).empty());
    EXPECT_TRUE(RenameLine(nullptr, longest + "a").empty());
    EXPECT_TRUE(RenameLine((longest + "a").c_str(), "b").empty());
}

TEST(InsertRenameLine, StartsTheSectionAtTheEndOfAFileWithout) {
    EXPECT_EQ(Insert("", "NUL=C:\\A\r\n"), "[Rename]\r\nNUL=C:\\A\r\n");
    EXPECT_EQ(Insert("[Other]\r\nx=1\r\n", "NUL=C:\\A\r\n"), "[Other]\r\nx=1\r\n[Rename]\r\nNUL=C:\\A\r\n");
    // Only the exact header counts.
    EXPECT_EQ(Insert("[rename]\r\nB=C\r\n", "NUL=C:\\A\r\n"), "[rename]\r\nB=C\r\n[Rename]\r\nNUL=C:\\A\r\n");
}

TEST(InsertRenameLine, PutsTheNewLineFirstAndKeepsEveryOlderLine) {
    const std::string file = "[Other]\r\nx=1\r\n[Rename]\r\nB=C\r\nNUL=D\r\n[Last]\r\ny=2\r\n";
    EXPECT_EQ(Insert(file, "E=F\r\n"), "[Other]\r\nx=1\r\n[Rename]\r\nE=F\r\nB=C\r\nNUL=D\r\n[Last]\r\ny=2\r\n");
}

TEST(InsertRenameLine, FindsTheHeaderBehindNulBytes) {
    const std::string file = std::string("junk\0\0", 6) + "[Rename]\r\nB=C\r\n";
    EXPECT_EQ(Insert(file, "E=F\r\n"), std::string("junk\0\0", 6) + "[Rename]\r\nE=F\r\nB=C\r\n");
}

TEST(InsertRenameLine, AHeaderAtTheVeryEndTakesTheLineAfterIt) {
    EXPECT_EQ(Insert("[Rename]\r\n", "E=F\r\n"), "[Rename]\r\nE=F\r\n");
}
