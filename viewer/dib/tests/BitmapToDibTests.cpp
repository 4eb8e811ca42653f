#include <windows.h>

#include <gtest/gtest.h>

#include "viewer/dib/BitmapToDib.h"
#include "viewer/dib/tests/DibTestBlocks.h"

namespace {
constexpr int kWidth = 1728;
constexpr int kHeight = 100;

// Black where the page was drawn on: a bar and the bottom-right pixel, on white.
bool IsBlack(int x, int y) {
    return (x >= 100 && x < 300 && y >= 10 && y < 20) || (x == kWidth - 1 && y == kHeight - 1);
}

// A monochrome page bitmap drawn through GDI; it is deselected again before the conversion reads it.
CBitmapHandle DrawPage() {
    CBitmapHandle page(CreateBitmap(kWidth, kHeight, 1, 1, nullptr));
    CMemoryDc dc(CreateCompatibleDC(nullptr));
    CSelectObject select(dc.Get(), page.Get());
    PatBlt(dc.Get(), 0, 0, kWidth, kHeight, WHITENESS);
    PatBlt(dc.Get(), 100, 10, 200, 10, BLACKNESS);
    PatBlt(dc.Get(), kWidth - 1, kHeight - 1, 1, 1, BLACKNESS);
    return page;
}

BITMAPINFOHEADER HeaderOf(const std::vector<uint8_t>& dib) {
    BITMAPINFOHEADER header{};
    if (dib.size() >= sizeof header)
        std::memcpy(&header, dib.data(), sizeof header);
    return header;
}
}  // namespace

TEST(BitmapToDib, MonochromeFaxPageKeepsItsOneBitRows) {
    auto page = DrawPage();
    CGlobalBlock block(BitmapToDib(page.Get(), BI_RGB, 0, nullptr));
    ASSERT_TRUE(block);
    const auto dib = BytesOf(block.Get());
    ASSERT_EQ(dib.size(), 40u + 8 + 21600);
    const auto header = HeaderOf(dib);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, kWidth);
    EXPECT_EQ(header.biHeight, kHeight);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 1);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 21600u);

    // The colour table says which bit value is black.
    const uint8_t* table = &dib[40];
    const bool zeroIsBlack = table[0] == 0 && table[1] == 0 && table[2] == 0;
    ASSERT_EQ(zeroIsBlack, table[4] == 0xFF && table[5] == 0xFF && table[6] == 0xFF);
    const uint8_t* rows = &dib[48];
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* row = rows + (kHeight - 1 - y) * 216;
        for (int x = 0; x < kWidth; ++x) {
            const bool bit = (row[x / 8] >> (7 - x % 8)) & 1;
            ASSERT_EQ(bit != zeroIsBlack, IsBlack(x, y)) << "at " << x << "," << y;
        }
    }
}

TEST(BitmapToDib, GivenBitCountChangesTableAndRows) {
    auto page = DrawPage();
    CGlobalBlock block(BitmapToDib(page.Get(), BI_RGB, 24, nullptr));
    ASSERT_TRUE(block);
    const auto dib = BytesOf(block.Get());
    ASSERT_EQ(dib.size(), 40u + 5184 * kHeight);
    EXPECT_EQ(HeaderOf(dib).biBitCount, 24);
    auto pixel = [&](int x, int y) { return &dib[40 + (kHeight - 1 - y) * 5184 + 3 * x]; };
    EXPECT_EQ(pixel(150, 15)[0], 0);
    EXPECT_EQ(pixel(150, 15)[2], 0);
    EXPECT_EQ(pixel(150, 25)[0], 0xFF);
    EXPECT_EQ(pixel(kWidth - 1, kHeight - 1)[1], 0);
    EXPECT_EQ(pixel(0, 0)[1], 0xFF);

    CGlobalBlock eight(BitmapToDib(page.Get(), BI_RGB, 8, nullptr));
    ASSERT_TRUE(eight);
    EXPECT_EQ(GlobalSize(eight.Get()), 40u + 1024 + kWidth * kHeight);
}

TEST(BitmapToDib, NoResultForWhatIsNotAReadableBitmap) {
    EXPECT_EQ(BitmapToDib(nullptr, BI_RGB, 0, nullptr), nullptr);
    CBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(BitmapToDib(reinterpret_cast<HBITMAP>(brush.Get()), BI_RGB, 0, nullptr), nullptr);
    HBITMAP gone = CreateBitmap(8, 8, 1, 1, nullptr);
    DeleteObject(gone);
    EXPECT_EQ(BitmapToDib(gone, BI_RGB, 0, nullptr), nullptr);
    // GDI writes no compressed rows of a bit count that has no such compression.
    auto page = DrawPage();
    EXPECT_EQ(BitmapToDib(page.Get(), BI_RLE8, 1, nullptr), nullptr);
}
