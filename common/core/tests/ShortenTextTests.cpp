#include <gtest/gtest.h>

#include <string>

#include "common/core/ShortenText.h"

namespace {
// Code page 936 text, spelt out so that the bytes do not depend on the compiler's character set.
const std::string kZhong = "\xD6\xD0";  // 中
const std::string kWen = "\xCE\xC4";    // 文

// Every byte 5 pixels wide, so the ellipsis with its terminating zero is 20.
std::string Shorten(std::string_view text, int available, int margin, bool* shortened = nullptr) {
    ShortText result = ShortenText(text, available, margin, [](std::string_view s) { return 5 * int(s.size()); });
    if (shortened)
        *shortened = result.shortened;
    return result.text;
}
}  // namespace

TEST(ShortenText, KeepsWhatFitsWithItsMarginAndOtherwiseTheLongestPrefixBeforeTheEllipsis) {
    bool shortened = true;
    EXPECT_EQ(Shorten("abcd", 24, 4, &shortened), "abcd") << "width + margin = room still fits";
    EXPECT_FALSE(shortened);
    EXPECT_EQ(Shorten("abcd", 23, 4, &shortened), "a...");
    EXPECT_TRUE(shortened);
    EXPECT_EQ(Shorten("", -5, 12, &shortened), "");
    EXPECT_FALSE(shortened);
    // Room 34 - margin 4 - ellipsis 20 leaves 10 pixels.
    EXPECT_EQ(Shorten("abcdefgh", 34, 4), "ab...");
    EXPECT_EQ(Shorten("abcdefgh", 39, 4), "abc...");
    EXPECT_EQ(Shorten("abcdefgh", 38, 4), "ab...");
    // The ellipsis counts its zero: were "..." 15 pixels, this would keep two letters.
    EXPECT_EQ(Shorten("abcdefgh", 37, 12), "a...");
}

TEST(ShortenText, KeepsTheFirstCharacterWhenNothingFits) {
    EXPECT_EQ(Shorten("abcdef", 0, 4), "a...");
    EXPECT_EQ(Shorten("x", 8, 4), "x...");
    EXPECT_EQ(Shorten("x", 9, 4), "x");
    EXPECT_EQ(Shorten(kZhong, 0, 4), kZhong + "...");
}

TEST(ShortenText, CutsDoubleByteTextBetweenCharacters) {
    const std::string text = kZhong + kWen + kZhong + kWen + kZhong + kWen;  // 60 pixels
    // 15 pixels of room hold one and a half characters: only the whole one is kept.
    EXPECT_EQ(Shorten(text, 39, 4), kZhong + "...");
    EXPECT_EQ(Shorten(text, 44, 4), kZhong + kWen + "...");
    EXPECT_EQ(Shorten("a" + kZhong + "bcdef", 34, 4), "a...");
    EXPECT_EQ(Shorten("a" + kZhong + "bcdef", 39, 4), "a" + kZhong + "...");
    // A trail byte that looks like ASCII belongs to its lead byte.
    EXPECT_EQ(Shorten("\x81\x41\x81\x41\x81\x41\x81\x41\x81\x41", 39, 4), "\x81\x41...");
    // Text cut by a fixed buffer may end in a lead byte without its trail byte: never shown before "...".
    EXPECT_EQ(Shorten("\xD6", 0, 4), "...");
    EXPECT_EQ(Shorten(kZhong + "\xCE", 0, 0), kZhong + "...");
}

TEST(ShortenText, LongTextsAreShortenedWhole) {
    // Longer than the lists' 260-byte cell buffers.
    EXPECT_EQ(Shorten(std::string(300, 'w'), 5 * 299, 0), std::string(295, 'w') + "...");
    EXPECT_EQ(Shorten(std::string(259, 'w'), 5 * 259 + 12, 12), std::string(259, 'w'));
    EXPECT_EQ(Shorten(std::string(259, 'w'), 5 * 259 + 11, 12), std::string(254, 'w') + "...");
}
