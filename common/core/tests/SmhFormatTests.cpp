#include <gtest/gtest.h>

#include <chrono>

#include "common/core/SmhWriter.h"
#include "common/core/MemorySmhSource.h"

namespace {
std::vector<uint8_t> Bytes(size_t n, uint8_t first) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(first + i);
    return v;
}

// Reads back the coded data of page n, or an empty vector when there is no page.
std::vector<uint8_t> PageData(const std::vector<uint8_t>& doc, uint32_t n) {
    CMemorySmhSource source(doc);
    auto header = ReadSmhFileHeader(source);
    if (!header)
        return {};
    auto page = LocateSmhPage(source, *header, n);
    if (!page)
        return {};
    std::vector<uint8_t> data(page->codedBytes);
    EXPECT_TRUE(source.ReadAt(page->dataOffset, data.data(), data.size()));
    return data;
}
}  // namespace

TEST(SmhFileHeader, FieldsSitAtTheirOffsetsLittleEndian) {
    SmhFileHeader h;
    h.SetDocKind(0x0102);
    h.SetFormatId(1);
    h.SetPageCount(0x0A0B0C0D);
    h.SetMarkCount(7);
    h.SetStretchSelector(100);
    h.SetDecodeParam(0x11223344);
    h.SetMarkFlag(1);
    h.SetStationNumber("0101234");
    h.SetStationName("Orvex");
    h.SetDestNumber("999");
    h.SetDestName("Dest");
    const auto& r = h.raw;
    EXPECT_EQ(r[4], 0x02);
    EXPECT_EQ(r[5], 0x01);
    EXPECT_EQ(r[6], 1);
    EXPECT_EQ(r[8], 0x0D);
    EXPECT_EQ(r[11], 0x0A);
    EXPECT_EQ(r[12], 7);
    EXPECT_EQ(r[16], 100);
    EXPECT_EQ(r[20], 0x44);
    EXPECT_EQ(r[23], 0x11);
    EXPECT_EQ(r[28], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[146])), "0101234");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[179])), "Orvex");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[244])), "999");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[277])), "Dest");
    EXPECT_EQ(h.DecodeParam(), 0x11223344u);
    EXPECT_EQ(h.PageCount(), 0x0A0B0C0Du);
}

TEST(SmhFileHeader, TextFieldsAreCutSafely) {
    SmhFileHeader h;
    h.SetStationNumber(std::string(32, '8'));
    EXPECT_EQ(h.StationNumber(), std::string(32, '8'));
    EXPECT_EQ(h.raw[146 + 32], 0) << "the 33rd byte holds the terminator";
    h.SetStationNumber(std::string(40, '9'));
    EXPECT_EQ(h.StationNumber(), std::string(32, '9'));
    // 63 ASCII bytes then a double-byte character: it does not fit whole, so it is left out.
    h.SetDestName(std::string(63, 'a') + "\xB4\xAB");
    EXPECT_EQ(h.DestName(), std::string(63, 'a'));
    // A field without terminator inside a read header never runs into the next field.
    std::fill(h.raw.begin() + 244, h.raw.begin() + 277, 'x');
    EXPECT_EQ(h.DestNumber(), std::string(33, 'x'));
}

TEST(CheckSmhHeader, FormatPageCountAndTheRefusalRule) {
    SmhFileHeader h = MakeSmhHeader(3);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kValid);
    h.SetFormatId(2);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kWrongFormat);
    h = MakeSmhHeader(0);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kNoPages);

    h = MakeSmhHeader(3);
    h.SetDocKind(2);
    h.SetMarkFlag(1);
    h.SetMarkCount(3);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kRefused);
    // Refused only with all three together.
    h.SetDocKind(3);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kValid);
    h.SetDocKind(2);
    h.SetMarkCount(2);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kValid);
    h.SetMarkCount(3);
    h.SetMarkFlag(0);
    EXPECT_EQ(CheckSmhHeader(h), SmhHeaderCheck::kValid);
}

TEST(ReadSmhFileHeader, NeedsAllOfThe384Bytes) {
    auto doc = BuildSmhDocument(MakeSmhHeader(1), {{Bytes(10, 1)}});
    CMemorySmhSource shortFile(doc.data(), 383);
    EXPECT_FALSE(ReadSmhFileHeader(shortFile));
    CMemorySmhSource exact(doc.data(), 384);
    EXPECT_TRUE(ReadSmhFileHeader(exact));
}

TEST(LocateSmhPage, WalksPagesThroughGapsAndAdvances) {
    std::vector<SmhPageSpec> pages = {{Bytes(100, 1)}, {Bytes(50, 2), 7}, {Bytes(30, 3), 0, 80}, {Bytes(20, 4)}};
    auto doc = BuildSmhDocument(MakeSmhHeader(4), pages);
    for (uint32_t n = 1; n <= 4; ++n)
        EXPECT_EQ(PageData(doc, n), pages[n - 1].coded) << "page " << n;
    EXPECT_TRUE(PageData(doc, 5).empty());
    EXPECT_TRUE(PageData(doc, 0).empty());
}

TEST(LocateSmhPage, CodedBytesSmallerThanTheRecordReadsOnlyCodedBytes) {
    SmhPageSpec page{Bytes(40, 9)};
    page.codedBytesField = 25;
    auto doc = BuildSmhDocument(MakeSmhHeader(2), {page, {Bytes(10, 5)}});
    EXPECT_EQ(PageData(doc, 1), std::vector<uint8_t>(page.coded.begin(), page.coded.begin() + 25));
    EXPECT_EQ(PageData(doc, 2), Bytes(10, 5));
}

TEST(LocateSmhPage, DamagedLayoutsGiveNoPage) {
    // No coded data.
    EXPECT_TRUE(PageData(BuildSmhDocument(MakeSmhHeader(1), {{{}}}), 1).empty());
    // codedBytes larger than the file.
    SmhPageSpec liar{Bytes(10, 1)};
    liar.codedBytesField = 1u << 30;
    EXPECT_TRUE(PageData(BuildSmhDocument(MakeSmhHeader(1), {liar}), 1).empty());
    // advanceBytes pointing past the end: page 1 is fine, page 2 is not there.
    SmhPageSpec far{Bytes(10, 1)};
    far.advanceBytes = 0xFFFFFFF0u;
    auto doc = BuildSmhDocument(MakeSmhHeader(2), {far});
    EXPECT_EQ(PageData(doc, 1), Bytes(10, 1));
    EXPECT_TRUE(PageData(doc, 2).empty());
    // gapBytes past the end.
    EXPECT_TRUE(PageData(BuildSmhDocument(MakeSmhHeader(1), {}), 1).empty()) << "no page record at all";
    std::vector<uint8_t> cut = BuildSmhDocument(MakeSmhHeader(1), {{Bytes(10, 1)}});
    cut.resize(384 + 47);
    EXPECT_TRUE(PageData(cut, 1).empty()) << "a page header cut short";
}

TEST(LocateSmhPage, AHugePageCountEndsQuicklyAtTheEndOfTheFile) {
    SmhFileHeader h = MakeSmhHeader(4000000000u);
    std::vector<SmhPageSpec> pages(3, SmhPageSpec{{}, 0, 0});  // zero advance: each step still moves 48 bytes
    pages.push_back({Bytes(5, 1)});
    auto doc = BuildSmhDocument(h, pages);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PageData(doc, 4), Bytes(5, 1));
    EXPECT_TRUE(PageData(doc, 3999999999u).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(AllSmhPagesPresent, AgreesWithLocatingEveryPage) {
    std::vector<SmhPageSpec> pages = {{Bytes(100, 1)}, {Bytes(50, 2), 7}, {Bytes(30, 3), 0, 80}, {Bytes(20, 4)}};
    auto whole = BuildSmhDocument(MakeSmhHeader(4), pages);
    CMemorySmhSource source(whole.data(), whole.size());
    EXPECT_TRUE(AllSmhPagesPresent(source, *ReadSmhFileHeader(source)));
    auto counted = BuildSmhDocument(MakeSmhHeader(5), pages);
    CMemorySmhSource more(counted.data(), counted.size());
    EXPECT_FALSE(AllSmhPagesPresent(more, *ReadSmhFileHeader(more))) << "a fifth page the file lacks";
    SmhPageSpec empty{{}};
    auto hollow = BuildSmhDocument(MakeSmhHeader(2), {pages[0], empty});
    CMemorySmhSource holes(hollow.data(), hollow.size());
    EXPECT_FALSE(AllSmhPagesPresent(holes, *ReadSmhFileHeader(holes))) << "a page without coded data";
    auto huge = BuildSmhDocument(MakeSmhHeader(4000000000u), pages);
    CMemorySmhSource liar(huge.data(), huge.size());
    EXPECT_FALSE(AllSmhPagesPresent(liar, *ReadSmhFileHeader(liar)));
}

TEST(PatchSmhHeader, SendCopyTakesDestinationAndStation) {
    SmhFileHeader h = MakeSmhHeader(1);
    h.SetStationNumber("old number");
    h.SetStationName("old name");
    h.raw[0] = 0x5A;
    h.raw[100] = 0x77;
    h.raw[350] = 0x33;
    PatchSmhHeader(h, 2, SmhDestination{"\xB1\xB1\xBE\xA9", "010-1234"}, "021-555", "");
    EXPECT_EQ(h.DocKind(), 2);
    EXPECT_EQ(h.DestName(), "\xB1\xB1\xBE\xA9");
    EXPECT_EQ(h.DestNumber(), "010-1234");
    EXPECT_EQ(h.StationNumber(), "021-555");
    EXPECT_EQ(h.StationName(), "") << "an empty station name clears the field";
    EXPECT_EQ(h.raw[0], 0x5A);
    EXPECT_EQ(h.raw[100], 0x77);
    EXPECT_EQ(h.raw[350], 0x33);
}

TEST(PatchSmhHeader, PrintCopyClearsTheDestinationAndKeepsTheStation) {
    SmhFileHeader h = MakeSmhHeader(1);
    h.SetStationNumber("0755-1");
    h.SetStationName("Shenzhen");
    h.SetDestNumber("123");
    h.SetDestName("someone");
    PatchSmhHeader(h, 3, std::nullopt, "ignored", "ignored");
    EXPECT_EQ(h.DocKind(), 3);
    for (size_t i = 244; i < 244 + 32; ++i)
        EXPECT_EQ(h.raw[i], 0) << i;
    for (size_t i = 277; i < 277 + 64; ++i)
        EXPECT_EQ(h.raw[i], 0) << i;
    EXPECT_EQ(h.StationNumber(), "0755-1");
    EXPECT_EQ(h.StationName(), "Shenzhen");
}
