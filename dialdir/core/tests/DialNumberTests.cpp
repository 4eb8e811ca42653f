#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

#include "dialdir/core/DialNumber.h"

namespace {
// Code page 936 text, spelt out so that the bytes do not depend on the compiler's character set.
const std::string kZhong = "\xD6\xD0";  // 中
const std::string kWen = "\xCE\xC4";    // 文

char Typed(std::string_view caption, std::string_view phone) {
    const auto key = FindDialKey(caption);
    if (!key)
        return '?';
    return DialKeyPress(*key, phone).value_or('\0');
}
}  // namespace

TEST(DialKeys, EachKeyTypesItsOwnCharacter) {
    const std::pair<const char*, char> expected[] = {{"1", '1'}, {"2", '2'}, {"3", '3'},     {"4", '4'}, {"5", '5'},
                                                     {"6", '6'}, {"7", '7'}, {"8", '8'},     {"9", '9'}, {"K", '*'},
                                                     {"0", '0'}, {"S", '#'}, {"PAUSE", ';'}, {"M", '-'}};
    ASSERT_EQ(std::size(kDialKeys), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(kDialKeys[i].caption, expected[i].first) << "pad order, key " << i;
        const auto key = FindDialKey(expected[i].first);
        ASSERT_TRUE(key) << expected[i].first;
        EXPECT_EQ(key->typed, expected[i].second) << expected[i].first;
    }
}

TEST(DialKeys, OtherButtonsOfTheDialogAreNoKeys) {
    for (const char* caption : {"OK", "CLEAR", "ADD", "DELETE", "", "k", "s", "Pause", "10", "*", "#"})
        EXPECT_FALSE(FindDialKey(caption)) << caption;
}

TEST(DialKeys, TypeWhileTheNumberIsShorterThanThirtyTwoBytes) {
    EXPECT_EQ(Typed("5", ""), '5');
    EXPECT_EQ(Typed("PAUSE", "010"), ';');
    EXPECT_EQ(Typed("M", std::string(31, '9')), '-');
    EXPECT_EQ(Typed("1", std::string(32, '9')), '\0') << "a full number takes nothing more";
    EXPECT_EQ(Typed("1", std::string(40, '9')), '\0') << "a longer text set by a program is full too";
    EXPECT_EQ(Typed("1", std::string(30, '9') + kZhong), '\0');
    // Read back as whole characters, 31 digits and half a character are 31 bytes: room for one more.
    EXPECT_EQ(Typed("0", std::string(31, '9') + kZhong), '0');
}

TEST(BoxTexts, AreCutToTheirLimitOnACharacterBoundary) {
    EXPECT_EQ(LimitedBoxText("0571-88886666", kAddressPhoneLimit), "0571-88886666");
    EXPECT_EQ(LimitedBoxText(std::string(32, '1'), kAddressPhoneLimit), std::string(32, '1'));
    EXPECT_EQ(LimitedBoxText(std::string(33, '1'), kAddressPhoneLimit), std::string(32, '1'));
    EXPECT_EQ(LimitedBoxText(std::string(63, 'a') + kZhong, kAddressTextLimit), std::string(63, 'a'))
        << "a double-byte character that does not fit is left out whole";
    EXPECT_EQ(LimitedBoxText(std::string(62, 'a') + kZhong, kAddressTextLimit), std::string(62, 'a') + kZhong);
    EXPECT_EQ(LimitedBoxText(kZhong + "\xD6", kAddressTextLimit), kZhong) << "a lone lead byte at the end";
    EXPECT_EQ(LimitedBoxText("", kAddressTextLimit), "");
}

TEST(BoxTexts, EachBoxKeepsItsOwnLimit) {
    const std::string longText(80, 'x');
    const AddressEntry entry = LimitedEntry({longText, longText, longText, kZhong + kWen});
    EXPECT_EQ(entry.name, std::string(64, 'x'));
    EXPECT_EQ(entry.phone, std::string(32, 'x'));
    EXPECT_EQ(entry.address, std::string(64, 'x'));
    EXPECT_EQ(entry.remarks, kZhong + kWen);
}

TEST(NewEntries, WantANameFirstThenANumber) {
    EXPECT_EQ(CheckNewEntry({"", "0755-12345678", "", ""}), NewEntryCheck::kNoName);
    EXPECT_EQ(CheckNewEntry({"", "", "", ""}), NewEntryCheck::kNoName) << "both empty: only the name is asked for";
    EXPECT_EQ(CheckNewEntry({kZhong, "", kWen, kWen}), NewEntryCheck::kNoPhone);
    EXPECT_EQ(CheckNewEntry({kZhong, "1", "", ""}), NewEntryCheck::kComplete);
    EXPECT_EQ(CheckNewEntry({" ", "-", "", ""}), NewEntryCheck::kComplete) << "blank but not empty";
    EXPECT_EQ(CheckNewEntry({"\xD6", "1", "", ""}), NewEntryCheck::kNoName) << "half a character is no name";
}

TEST(TypedDestinations, AreTheFourTextsWhenANumberIsTyped) {
    const auto destination = TypedDestination({"", "0755-12345678", kZhong + kWen, ""});
    ASSERT_TRUE(destination);
    EXPECT_STREQ(destination->phone, "0755-12345678");
    EXPECT_STREQ(destination->name, "") << "no name is needed";
    EXPECT_EQ(std::string(destination->address), kZhong + kWen);
    EXPECT_STREQ(destination->remarks, "");

    EXPECT_FALSE(TypedDestination({kZhong, "", "", ""})) << "a name alone is no destination";
    EXPECT_FALSE(TypedDestination({"", "", "", ""}));
}

TEST(TypedDestinations, FillTheirFieldsWithoutOverrunningThem) {
    const auto destination =
        TypedDestination({std::string(63, 'n') + kZhong, std::string(40, '7'), std::string(70, 'a'), "r"});
    ASSERT_TRUE(destination);
    EXPECT_EQ(std::string(destination->phone), std::string(32, '7'));
    EXPECT_EQ(destination->phone[32], '\0');
    EXPECT_EQ(std::string(destination->name), std::string(63, 'n'));
    EXPECT_EQ(destination->name[63], '\0');
    EXPECT_EQ(std::string(destination->address), std::string(64, 'a'));
    EXPECT_STREQ(destination->remarks, "r");
}
