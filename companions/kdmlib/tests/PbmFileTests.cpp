#include <gtest/gtest.h>

#include <string>

#include "companions/kdmlib/core/PbmFile.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(ReadPbm, PlainAndRawGiveTheSamePage) {
    auto plain = mh::ReadPbm(Bytes("P1\n# a comment\n10 2\n1 0 0 0 0 0 0 0 0 1\n0100000000\n"));
    ASSERT_TRUE(plain);
    std::string raw = "P4\n10 2\n";
    raw += std::string("\x80\x40\x40\x00", 4);
    auto packed = mh::ReadPbm(Bytes(raw));
    ASSERT_TRUE(packed);
    EXPECT_TRUE(*plain == *packed);
    EXPECT_EQ(plain->width, 10u);
    EXPECT_TRUE(plain->Black(0, 0));
    EXPECT_TRUE(plain->Black(9, 0));
    EXPECT_TRUE(plain->Black(1, 1));
    EXPECT_FALSE(plain->Black(0, 1));
}

TEST(ReadPbm, PaddingBitsOfRawRowsAreDropped) {
    auto page = mh::ReadPbm(Bytes(std::string("P4 3 1\n\xFF", 8)));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->bits[0], 0xE0);
}

TEST(ReadPbm, RefusesShortOrForeignFiles) {
    EXPECT_FALSE(mh::ReadPbm(Bytes("P4\n16 2\n\xFF\xFF\xFF")));
    EXPECT_FALSE(mh::ReadPbm(Bytes("P1 2 2 1 0 1")));
    EXPECT_FALSE(mh::ReadPbm(Bytes("P1 2 1 1 2")));
    EXPECT_FALSE(mh::ReadPbm(Bytes("P2 2 1 255 0 0")));
    EXPECT_FALSE(mh::ReadPbm(Bytes("P4 0 5\n")));
    EXPECT_FALSE(mh::ReadPbm(Bytes("P4 99999999 99999999\n")));
    EXPECT_FALSE(mh::ReadPbm(Bytes("P4")));
}

}  // namespace
