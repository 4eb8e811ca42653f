#include <gtest/gtest.h>

#include "common/core/ByteOrder.h"
#include "common/core/MemorySmhSource.h"
#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "companions/twain/core/ScanPages.h"

namespace {

using kdm::BilevelImage;
using scan::Resolution;

// A 4 x 3 BMP of `bits` per pixel, bottom-up unless `topDown`, whose pixels are dark where `dark` says.
std::vector<uint8_t> Bmp(uint16_t bits, const bool (&dark)[3][4], bool topDown = false) {
    const uint32_t colours = bits <= 8 ? 1u << bits : 0;
    const size_t stride = (bits * 4u + 31) / 32 * 4;
    const size_t offBits = 54 + 4 * colours;
    std::vector<uint8_t> file(offBits + stride * 3);
    file[0] = 'B', file[1] = 'M';
    WriteLe32(file.data() + 10, static_cast<uint32_t>(offBits));
    WriteLe32(file.data() + 14, 40);
    WriteLe32(file.data() + 18, 4);
    WriteLe32(file.data() + 22, topDown ? static_cast<uint32_t>(-3) : 3);
    WriteLe16(file.data() + 26, 1);
    WriteLe16(file.data() + 28, bits);
    // Palette: entry 0 pale yellow, the last entry dark blue; the rest mid grey just above half brightness.
    for (uint32_t i = 0; i < colours; ++i) {
        uint8_t* c = file.data() + 54 + 4 * i;
        const uint8_t grey = i == 0 ? 230 : i + 1 == colours ? 40 : 140;
        c[0] = i + 1 == colours ? 120 : grey, c[1] = grey, c[2] = i == 0 ? 250 : grey;
    }
    for (uint32_t y = 0; y < 3; ++y) {
        uint8_t* row = file.data() + offBits + stride * (topDown ? y : 2 - y);
        for (uint32_t x = 0; x < 4; ++x) {
            const bool d = dark[y][x];
            switch (bits) {
            case 1:
                row[0] |= d ? 0x80 >> x : 0;
                break;
            case 4:
                row[x / 2] |= (d ? 15 : 0) << (x % 2 ? 0 : 4);
                break;
            case 8:
                row[x] = d ? 255 : 0;
                break;
            default:
                for (int c = 0; c < 3; ++c)
                    row[x * (bits / 8) + c] = d ? 30 + 20 * c : 200;
            }
        }
    }
    return file;
}

constexpr bool kDark[3][4] = {{true, false, false, true}, {false, true, false, false}, {true, true, true, false}};

void ExpectPicture(const std::optional<BilevelImage>& picture, const char* what) {
    ASSERT_TRUE(picture) << what;
    ASSERT_EQ(picture->width, 4u) << what;
    ASSERT_EQ(picture->height, 3u) << what;
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(picture->Black(x, y), kDark[y][x]) << what << " at " << x << "," << y;
}

TEST(ScanPages, PicturesOfEveryDepthBecomeBlackWhereTheyAreDark) {
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        const std::string what = std::to_string(bits) + " bits";
        ExpectPicture(scan::ReadPicture(Bmp(bits, kDark)), what.c_str());
        ExpectPicture(scan::ReadPicture(Bmp(bits, kDark, true)), (what + " top-down").c_str());
    }
    const std::string pbm = "P1\n4 3\n1 0 0 1\n0 1 0 0\n1 1 1 0\n";
    ExpectPicture(scan::ReadPicture({reinterpret_cast<const uint8_t*>(pbm.data()), pbm.size()}), "PBM");
}

TEST(ScanPages, DamagedOrUnknownPicturesGiveNothing) {
    const auto good = Bmp(8, kDark);
    auto cut = good;
    cut.pop_back();
    EXPECT_FALSE(scan::ReadPicture(cut)) << "one byte short";
    auto rle = good;
    WriteLe32(rle.data() + 30, 1);
    EXPECT_FALSE(scan::ReadPicture(rle)) << "run-length coded";
    auto colours = good;
    WriteLe32(colours.data() + 46, 257);
    EXPECT_FALSE(scan::ReadPicture(colours)) << "more colours than the depth has";
    auto offset = good;
    WriteLe32(offset.data() + 10, 0xFFFFFFF0u);
    EXPECT_FALSE(scan::ReadPicture(offset)) << "pixels past the end";
    auto huge = good;
    WriteLe32(huge.data() + 18, 0x40000000);
    EXPECT_FALSE(scan::ReadPicture(huge)) << "a width no file holds";
    const uint8_t text[] = "not a picture";
    EXPECT_FALSE(scan::ReadPicture(text));
}

TEST(ScanPages, APictureFillsThePageWidthAtTheResolutionsRowHeight) {
    BilevelImage picture(864, 100);  // half a page wide: doubled
    for (uint32_t x = 0; x < 432; ++x)
        picture.SetBlack(x, 0);
    for (uint32_t x = 0; x < 864; ++x)
        picture.SetBlack(x, 99);
    const BilevelImage fine = scan::PlaceOnPage(picture, Resolution::kFine);
    EXPECT_EQ(fine.width, 1728u);
    EXPECT_EQ(fine.height, 2287u);
    EXPECT_TRUE(fine.Black(863, 1) && !fine.Black(864, 1) && !fine.Black(0, 2));
    EXPECT_TRUE(fine.Black(1727, 199) && !fine.Black(1727, 200)) << "two fine rows to a picture row";
    const BilevelImage standard = scan::PlaceOnPage(picture, Resolution::kStandard);
    EXPECT_EQ(standard.height, 1143u);
    EXPECT_TRUE(standard.Black(0, 0) && !standard.Black(0, 1)) << "one standard row to a picture row";
    EXPECT_TRUE(standard.Black(1727, 99) && !standard.Black(1727, 100));

    BilevelImage tall(100, 10000);  // reaches the page's foot first
    for (uint32_t y = 9990; y < 10000; ++y)
        for (uint32_t x = 0; x < 100; ++x)
            tall.SetBlack(x, y);
    const BilevelImage placed = scan::PlaceOnPage(tall, Resolution::kFine);
    EXPECT_TRUE(placed.Black(0, 2286) && placed.Black(21, 2286));
    EXPECT_FALSE(placed.Black(23, 2286)) << "as narrow as the height allows";
}

TEST(ScanPages, AFinePageTakenAtStandardKeepsEveryStroke) {
    BilevelImage fine(64, 5);
    fine.SetBlack(0, 0);  // a hairline in either row of a pair
    fine.SetBlack(1, 1);
    fine.SetBlack(2, 3);
    fine.SetBlack(3, 4);  // the odd last row
    const BilevelImage standard = scan::StandardFromFine(fine);
    ASSERT_EQ(standard.height, 2u);
    EXPECT_TRUE(standard.Black(0, 0) && standard.Black(1, 0) && !standard.Black(2, 0));
    EXPECT_TRUE(standard.Black(2, 1) && !standard.Black(0, 1) && !standard.Black(3, 1));
}

TEST(ScanPages, AStandardPageIsDeliveredWithItsRowsShownTwice) {
    const BilevelImage page = mh::TypedLetterPage(mh::kA4StandardRows);
    const std::vector<uint8_t> dib = scan::DeliveredBitmap(page, Resolution::kStandard);
    ASSERT_GE(dib.size(), 48u);
    EXPECT_EQ(ReadLe32(dib.data()), 40u);
    EXPECT_EQ(ReadLe32(dib.data() + 4), 1728u);
    EXPECT_EQ(ReadLe32(dib.data() + 8), 2286u);
    EXPECT_EQ(ReadLe16(dib.data() + 14), 1u);
    EXPECT_EQ(ReadLe32(dib.data() + 40), 0xFFFFFFu) << "entry 0 white";
    EXPECT_EQ(ReadLe32(dib.data() + 44), 0u) << "entry 1 black";
    const uint8_t* bottomUp = dib.data() + 48;
    const size_t stride = page.Stride();
    ASSERT_EQ(dib.size(), 48 + stride * 2286);
    for (uint32_t y = 0; y < page.height; y += 97) {
        const uint8_t* shown = bottomUp + stride * (2285 - 2 * y);
        EXPECT_EQ(memcmp(shown, page.Row(y), stride), 0) << y;
        EXPECT_EQ(memcmp(shown - stride, page.Row(y), stride), 0) << y;
    }
}

// Each page of an SMH document, decoded.
std::vector<BilevelImage> DecodedPages(const std::vector<uint8_t>& file, uint32_t& stretchSelector) {
    CMemorySmhSource source(file);
    const auto header = ReadSmhFileHeader(source);
    if (!header || CheckSmhHeader(*header) != SmhHeaderCheck::kValid)
        return {};
    stretchSelector = header->StretchSelector();
    std::vector<BilevelImage> pages;
    for (uint32_t n = 1; n <= header->PageCount(); ++n) {
        const auto at = LocateSmhPage(source, *header, n);
        const auto decoded =
            at ? kdm::DecodeMh({file.data() + at->dataOffset, at->codedBytes}, header->DecodeParam()) : std::nullopt;
        if (!decoded || decoded->damagedLines != 0)
            return {};
        pages.push_back(decoded->image);
    }
    return pages;
}

TEST(ScanPages, TheScanFileHoldsThePagesAsScanned) {
    std::vector<scan::ScannedPage> fine;
    for (const BilevelImage& page : {mh::TypedLetterPage(), mh::FormPage(), mh::PhotographPage()})
        fine.push_back({page, Resolution::kFine});
    EXPECT_FALSE(fine[0].image == fine[1].image || fine[1].image == fine[2].image) << "three different sheets";
    uint32_t selector = 0;
    const auto pages = DecodedPages(scan::ScanFile(fine), selector);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(selector, 200u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(pages[i] == fine[i].image) << i;

    const scan::ScannedPage standard{mh::PhotographPage(mh::kA4StandardRows), Resolution::kStandard};
    ASSERT_EQ(DecodedPages(scan::ScanFile({standard}), selector).size(), 1u);
    EXPECT_EQ(selector, 100u);
    const auto mixed = DecodedPages(scan::ScanFile({fine[0], standard}), selector);
    ASSERT_EQ(mixed.size(), 2u);
    EXPECT_EQ(selector, 200u) << "one resolution for the document";
    EXPECT_TRUE(mixed[0] == fine[0].image);
    ASSERT_EQ(mixed[1].height, 2286u);
    EXPECT_EQ(memcmp(mixed[1].Row(1001), standard.image.Row(500), standard.image.Stride()), 0);
}

}  // namespace
