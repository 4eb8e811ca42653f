#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/core/AddressLine.h"
#include "common/core/AddressOrder.h"
#include "common/core/AddressRecord.h"

namespace {
// Code page 936 text, spelt out so that the bytes do not depend on the compiler's character set.
const std::string kMingCheng = "\xC3\xFB\xB3\xC6";  // 名称
const std::string kDianHua = "\xB5\xE7\xBB\xB0";    // 电话
const std::string kHaoMa = "\xBA\xC5\xC2\xEB";      // 号码
const std::string kDiZhi = "\xB5\xD8\xD6\xB7";      // 地址
const std::string kBeiZhu = "\xB1\xB8\xD7\xA2";     // 备注
const std::string kWang = "\xCD\xF5";               // 王
const std::string kLi = "\xC0\xEE";                 // 李

AddressEntry Entry(std::string name, std::string phone, std::string address, std::string remarks) {
    return {std::move(name), std::move(phone), std::move(address), std::move(remarks)};
}

std::string Repeat(const std::string& s, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i)
        out += s;
    return out;
}
}  // namespace

TEST(ParseAddressLine, CommasFillNamePhoneAddressAndTheLastFieldIsTheRemarks) {
    EXPECT_EQ(ParseAddressLine(""), Entry("", "", "", ""));
    EXPECT_EQ(ParseAddressLine("\n"), Entry("", "", "", ""));
    EXPECT_EQ(ParseAddressLine("a\n"), Entry("", "", "", "a"));
    EXPECT_EQ(ParseAddressLine("a,b\n"), Entry("a", "", "", "b"));
    EXPECT_EQ(ParseAddressLine("a,b,c"), Entry("a", "b", "", "c"));
    EXPECT_EQ(ParseAddressLine("a,b,c,d"), Entry("a", "b", "c", "d"));
    EXPECT_EQ(ParseAddressLine("n,p,a,r1,r2"), Entry("n", "p", "a", "r1r2"));
    EXPECT_EQ(ParseAddressLine("n,p,a,r1,r2,r3"), Entry("n", "p", "a", "r1r2r3"));
    EXPECT_EQ(ParseAddressLine(",,,"), Entry("", "", "", ""));
}

TEST(ParseAddressLine, QuotesOpenAnywhereAndDoubledQuotesAreOneQuote) {
    EXPECT_EQ(ParseAddressLine("\"x\"\"y\",1,,"), Entry("x\"y", "1", "", ""));
    EXPECT_EQ(ParseAddressLine("ab\"c,d\"e,1,,"), Entry("abc,de", "1", "", ""));
    EXPECT_EQ(ParseAddressLine("\"Sales, East\",0571-8888,,"), Entry("Sales, East", "0571-8888", "", ""));
    EXPECT_EQ(ParseAddressLine("\"unclosed, to the end"), Entry("", "", "", "unclosed, to the end"));
    EXPECT_EQ(ParseAddressLine("n,p,a,\"r,1\",r2"), Entry("n", "p", "a", "r,1r2"));
}

TEST(ParseAddressLine, ALeadByteTakesTheNextByteWhateverItIs) {
    // Trail bytes that are a backslash or a bar in ASCII.
    EXPECT_EQ(ParseAddressLine("\x81\x5C,\x82\x5C,\x81\x7C,x"), Entry("\x81\x5C", "\x82\x5C", "\x81\x7C", "x"));
    // Malformed pairs: the quote or comma after a lead byte is its trail byte, not a delimiter.
    EXPECT_EQ(ParseAddressLine("ab\x81,cd,1,,"), Entry("ab\x81,cd", "1", "", ""));
    EXPECT_EQ(ParseAddressLine("\x81\"x,1,,"), Entry("\x81\"x", "1", "", ""));
    // A lead byte ending the line has no trail byte and is dropped.
    EXPECT_EQ(ParseAddressLine("a,b,c,d\x81"), Entry("a", "b", "c", "d"));
    EXPECT_EQ(ParseAddressLine("a,b,c,d\x81\n"), Entry("a", "b", "c", "d"));
}

TEST(ParseAddressLine, LongFieldsAreCutWithoutSplittingACharacter) {
    const AddressEntry e = ParseAddressLine(std::string(70, 'n') + "," + std::string(40, '9') + "," +
                                            Repeat(kWang, 33) + ",a" + Repeat(kLi, 40));
    EXPECT_EQ(e.name, std::string(70, 'n').substr(0, 64));
    EXPECT_EQ(e.phone, std::string(32, '9'));
    EXPECT_EQ(e.address, Repeat(kWang, 32));
    EXPECT_EQ(e.remarks, "a" + Repeat(kLi, 31)) << "63 bytes: the 64th would be half a character";
}

TEST(FormatAddressLine, QuotesOnlyFieldsWithCommasOrQuotes) {
    EXPECT_EQ(FormatAddressLine(Entry("Sales, East", "0571-8888", "", "")), "\"Sales, East\",0571-8888,,\n");
    EXPECT_EQ(FormatAddressLine(Entry("x\"y", "", "", "")), "\"x\"\"y\",,,\n");
    EXPECT_EQ(FormatAddressLine(Entry("", "", "", "")), ",,,\n");
    EXPECT_EQ(QuoteAddressField("\x81,"), "\x81,") << "a comma that is a trail byte needs no quotes";
    EXPECT_EQ(QuoteAddressField("\x81\"\""), "\"\x81\"\"\"\"") << "only the second quote is a quote";
}

TEST(FormatAddressLine, WhatIsWrittenReadsBackTheSame) {
    const std::vector<AddressEntry> entries = {
        Entry("Sales, East", "0571-8888", "", ""),
        Entry("\"quoted\"", "1", "a,\"b\",c", ",,,"),
        Entry(kWang + ",\"" + kLi, "010-6234", "\x81\x5C\\\x82\x5C", "\x81\x7C|"),
        Entry("ab\x81,cd", "\x81\"", "", "x"),
        Entry(Repeat(kWang, 32), std::string(32, '5'), Repeat("\"", 64), Repeat(",", 64)),
    };
    for (const AddressEntry& e : entries) {
        EXPECT_EQ(ParseAddressLine(FormatAddressLine(e)), e) << FormatAddressLine(e);
    }
}

TEST(IsAddressHeading, AnyFieldEqualToItsHeadingMakesAHeader) {
    const AddressHeadings contacts{kMingCheng, kDianHua, kDiZhi, kBeiZhu};
    const std::string dialdirPhone = kDianHua + kHaoMa;
    const AddressHeadings dialdir{kMingCheng, dialdirPhone, kDiZhi, kBeiZhu};
    const AddressEntry named = Entry(kMingCheng, "1", "", "");
    const AddressEntry phoned = Entry("x", kDianHua, "", "");
    const AddressEntry numbered = Entry("x", kDianHua + kHaoMa, "", "");
    EXPECT_TRUE(IsAddressHeading(named, contacts));
    EXPECT_TRUE(IsAddressHeading(named, dialdir));
    EXPECT_TRUE(IsAddressHeading(phoned, contacts));
    EXPECT_FALSE(IsAddressHeading(phoned, dialdir));
    EXPECT_FALSE(IsAddressHeading(numbered, contacts));
    EXPECT_TRUE(IsAddressHeading(numbered, dialdir));
    EXPECT_TRUE(IsAddressHeading(Entry("x", "1", kDiZhi, ""), contacts));
    EXPECT_TRUE(IsAddressHeading(Entry("x", "1", "", kBeiZhu), contacts));
    EXPECT_FALSE(IsAddressHeading(Entry(kMingCheng + " ", "1", "", ""), contacts)) << "byte for byte";
}

TEST(NextAddressLine, TextModeLinesOfAtMost511Bytes) {
    const std::string data = "a\r\nb\rc\n" + std::string(600, 'x') + "\r\nlast";
    size_t position = 0;
    std::string line;
    std::vector<std::string> lines;
    while (NextAddressLine(data, position, line))
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "a\n");
    EXPECT_EQ(lines[1], "b\rc\n") << "a lone carriage return stays";
    EXPECT_EQ(lines[2], std::string(511, 'x'));
    EXPECT_EQ(lines[3], std::string(89, 'x') + "\n");
    EXPECT_EQ(lines[4], "last");
    position = 0;
    EXPECT_FALSE(NextAddressLine("", position, line));
}

TEST(AddressRecord, SetCutsOnCharacterBoundariesAndCopyOutSkipsMissingDestinations) {
    AddressRecord r;
    r.Set("1234", nullptr, ("a" + Repeat(kWang, 40)).c_str(), "x");
    EXPECT_STREQ(r.phone, "1234");
    EXPECT_STREQ(r.name, "");
    EXPECT_EQ(std::string(r.address), "a" + Repeat(kWang, 31));
    r.Set(std::string(40, '7').c_str(), "n", "a", "r");
    EXPECT_EQ(std::string(r.phone), std::string(32, '7'));

    char name[AddressRecord::kTextSize] = "old";
    char remarks[AddressRecord::kTextSize] = "old";
    r.CopyOut(nullptr, name, nullptr, remarks);
    EXPECT_STREQ(name, "n");
    EXPECT_STREQ(remarks, "r");
}

TEST(CompareMbcs, DoubleByteCharactersAreOneValueAfterEverySingleByte) {
    EXPECT_LT(CompareMbcs("a", "b"), 0);
    EXPECT_GT(CompareMbcs("b", "a"), 0);
    EXPECT_EQ(CompareMbcs(kWang, kWang), 0);
    EXPECT_LT(CompareMbcs("z", kLi), 0);
    EXPECT_LT(CompareMbcs(kLi, kWang), 0);  // C0 EE before CD F5
    EXPECT_LT(CompareMbcs("\xB0\xA1", "\xB0\xA2"), 0);
    EXPECT_LT(CompareMbcs("ab", "abc"), 0);
    EXPECT_LT(CompareMbcs("", "a"), 0);
    // Byte-wise these would order the other way: the trail byte 0x5C is smaller than 'z' but is part of a
    // character whose value is larger.
    EXPECT_GT(CompareMbcs("\x81\x5C", "z"), 0);
}

namespace {
struct List {
    std::vector<AddressRecord> rows;
    AddressPlace Place(const std::string& name, const std::string& phone, bool check = true) const {
        return PlaceAddress(
            rows.size(), [this](size_t i) -> const AddressRecord& { return rows[i]; }, name, phone, check);
    }
    void Add(const std::string& name, const std::string& phone, const std::string& remarks = "") {
        AddressPlace place = Place(name, phone);
        ASSERT_EQ(place.placement, AddressPlacement::kInsert);
        AddressRecord r;
        r.Set(phone.c_str(), name.c_str(), "", remarks.c_str());
        rows.insert(rows.begin() + static_cast<ptrdiff_t>(place.index), r);
    }
};
}  // namespace

TEST(PlaceAddress, NameOrderEqualNamesInInsertionOrderAndTheReplaceCase) {
    List list;
    list.Add(kWang, "1", "first");
    list.Add("Zhang", "2");
    list.Add(kLi, "3");
    list.Add(kWang, "4", "second");
    list.Add("Adams", "5");
    ASSERT_EQ(list.rows.size(), 5u);
    EXPECT_STREQ(list.rows[0].name, "Adams");
    EXPECT_STREQ(list.rows[1].name, "Zhang");
    EXPECT_EQ(std::string(list.rows[2].name), kLi);
    EXPECT_STREQ(list.rows[3].remarks, "first");
    EXPECT_STREQ(list.rows[4].remarks, "second");

    const AddressPlace same = list.Place(kWang, "4");
    EXPECT_EQ(same.placement, AddressPlacement::kReplace);
    EXPECT_EQ(same.index, 4u);
    const AddressPlace unchecked = list.Place(kWang, "4", false);
    EXPECT_EQ(unchecked.placement, AddressPlacement::kInsert);
    EXPECT_EQ(unchecked.index, 5u) << "loading appends, duplicates and all";
}

TEST(PlaceAddress, TenThousandRowsRefuseAddsAndReplacements) {
    List list;
    list.rows.resize(kAddressListLimit - 1);
    EXPECT_EQ(list.Place("x", "1").placement, AddressPlacement::kInsert);
    list.rows.back().Set("1", "x", "", "");
    list.rows.emplace_back();
    EXPECT_EQ(list.Place("x", "1").placement, AddressPlacement::kFull) << "even the replacement";
    EXPECT_EQ(list.Place("y", "2", false).placement, AddressPlacement::kFull);
}

TEST(AppendTextModeOutput, EveryLineFeedIsWrittenAsCarriageReturnLineFeed) {
    std::string out = "x";
    AppendTextModeOutput(out, "a,b,,\n\n,c,,\nlast");
    EXPECT_EQ(out, "xa,b,,\r\n\r\n,c,,\r\nlast");
    AppendTextModeOutput(out, "");
    EXPECT_EQ(out, "xa,b,,\r\n\r\n,c,,\r\nlast");
}
