#include <windows.h>

#include <gtest/gtest.h>

#include "viewer/dib/DibPaint.h"
#include "viewer/dib/DibPalette.h"
#include "viewer/dib/core/tests/DibTestBytes.h"
#include "viewer/dib/tests/DibTestBlocks.h"

namespace {
constexpr COLORREF kUntouched = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 0xFF);

// A 5 x 3 one-bit image, top row first: '#' is colour 1 (blue), '.' colour 0 (red). Five pixels need padding.
const char* const kPattern[] = {"#.##.", "..#.#", "#...#"};
constexpr int kWidth = 5;
constexpr int kHeight = 3;

bool PatternBit(int x, int y) {
    return kPattern[y][x] == '#';
}

COLORREF PatternColour(int x, int y) {
    return PatternBit(x, y) ? kBlue : kRed;
}

// The 1-bit pattern as rows bottom-up after a header of `headerSize` bytes and a table of `entrySize` entries.
std::vector<uint8_t> PatternDib(bool core) {
    std::vector<uint8_t> dib =
        core ? MakeCoreDib(kWidth, kHeight, 1) : MakeInfoDib({.width = kWidth, .height = kHeight});
    const size_t table = core ? 12 : 40;
    const size_t entry = core ? 3 : 4;
    const uint8_t red[] = {0, 0, 0xFF};
    const uint8_t blue[] = {0xFF, 0, 0};
    std::copy(std::begin(red), std::end(red), dib.begin() + static_cast<ptrdiff_t>(table));
    std::copy(std::begin(blue), std::end(blue), dib.begin() + static_cast<ptrdiff_t>(table + entry));
    uint8_t* rows = dib.data() + table + 2 * entry;
    std::fill(rows, dib.data() + dib.size(), uint8_t{0});
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (PatternBit(x, y))
                rows[(kHeight - 1 - y) * 4 + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return dib;
}

// A 32-bit top-down DIB section in a memory DC, filled with kUntouched, to paint into and read back.
class DibPaintTest : public testing::Test {
protected:
    static constexpr int kSurfaceWidth = 14;
    static constexpr int kSurfaceHeight = 9;

    void SetUp() override {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSurfaceWidth, -kSurfaceHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_dc.Reset(CreateCompatibleDC(nullptr));
        m_surface.Reset(
            CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pixels), nullptr, 0));
        ASSERT_TRUE(m_dc && m_surface && m_pixels);
        m_previous = SelectObject(m_dc.Get(), m_surface.Get());
        std::fill(m_pixels, m_pixels + kSurfaceWidth * kSurfaceHeight, ToPixel(kUntouched));
    }
    void TearDown() override { SelectObject(m_dc.Get(), m_previous); }

    static uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t p = m_pixels[y * kSurfaceWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // Checks the pattern drawn twice as large at (left, top) and the surface untouched around it.
    void ExpectPatternDoubledAt(int left, int top) const {
        for (int y = 0; y < kSurfaceHeight; ++y) {
            for (int x = 0; x < kSurfaceWidth; ++x) {
                const int px = (x - left) / 2;
                const int py = (y - top) / 2;
                const bool inside = x >= left && y >= top && px < kWidth && py < kHeight;
                ASSERT_EQ(At(x, y), inside ? PatternColour(px, py) : kUntouched) << "at " << x << "," << y;
            }
        }
    }

    CMemoryDc m_dc;
    CBitmapHandle m_surface;
    uint32_t* m_pixels = nullptr;
    HGDIOBJ m_previous = nullptr;
};
}  // namespace

TEST_F(DibPaintTest, PaintDibStretchesTheImageIntoTheDestinationRectangle) {
    auto block = BlockOf(PatternDib(false));
    const RECT dst{2, 1, 2 + 2 * kWidth, 1 + 2 * kHeight};
    const RECT src{0, 0, kWidth, kHeight};
    EXPECT_EQ(PaintDib(m_dc.Get(), dst, block.Get(), src, nullptr, SRCCOPY), kHeight);
    ExpectPatternDoubledAt(2, 1);
    EXPECT_EQ(GetStretchBltMode(m_dc.Get()), COLORONCOLOR);
}

TEST_F(DibPaintTest, PaintDibDrawsACoreHeaderImageWithThreeByteEntries) {
    auto block = BlockOf(PatternDib(true));
    const RECT dst{0, 0, 2 * kWidth, 2 * kHeight};
    const RECT src{0, 0, kWidth, kHeight};
    EXPECT_NE(PaintDib(m_dc.Get(), dst, block.Get(), src, nullptr, SRCCOPY), 0);
    ExpectPatternDoubledAt(0, 0);
}

TEST_F(DibPaintTest, PaintDibPutsThePreviousPaletteBack) {
    auto block = BlockOf(PatternDib(false));
    CPaletteHandle palette;
    ASSERT_TRUE(CreateDibPalette(block.Get(), palette));
    const HGDIOBJ before = GetCurrentObject(m_dc.Get(), OBJ_PAL);
    const RECT dst{3, 2, 3 + 2 * kWidth, 2 + 2 * kHeight};
    const RECT src{0, 0, kWidth, kHeight};
    EXPECT_NE(PaintDib(m_dc.Get(), dst, block.Get(), src, palette.Get(), SRCCOPY), 0);
    EXPECT_EQ(GetCurrentObject(m_dc.Get(), OBJ_PAL), before);
    ExpectPatternDoubledAt(3, 2);
}

TEST_F(DibPaintTest, PaintDibPlainStretchesTheImage) {
    auto block = BlockOf(PatternDib(false));
    EXPECT_NE(PaintDibPlain(m_dc.Get(), 4, 3, 2 * kWidth, 2 * kHeight, block.Get(), 0, 0, kWidth, kHeight, SRCCOPY), 0);
    ExpectPatternDoubledAt(4, 3);
}

TEST_F(DibPaintTest, PaintDibPlainFindsTheRowsAfterTheMasksOfABitFieldImage) {
    // Two by two pixels of 5-6-5 colour, bottom row first: red, green / blue, white.
    auto dib = MakeInfoDib({.width = 2, .height = 2, .bitCount = 16, .compression = 3});
    const uint32_t masks[] = {0xF800, 0x07E0, 0x001F};
    const uint16_t pixels[] = {0x001F, 0xFFFF, 0xF800, 0x07E0};
    std::memcpy(&dib[40], masks, sizeof masks);
    std::memcpy(&dib[52], pixels, sizeof pixels);
    auto block = BlockOf(dib);
    EXPECT_NE(PaintDibPlain(m_dc.Get(), 0, 0, 4, 4, block.Get(), 0, 0, 2, 2, SRCCOPY), 0);
    const COLORREF expected[2][2] = {{kRed, RGB(0, 0xFF, 0)}, {kBlue, RGB(0xFF, 0xFF, 0xFF)}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(x, y), expected[y / 2][x / 2]) << x << "," << y;
}

TEST_F(DibPaintTest, PaintDibPlainFindsTheRowsAfterAShortColourTable) {
    auto dib = MakeInfoDib({.width = 4, .height = 1, .bitCount = 8, .clrUsed = 2});
    const uint8_t table[] = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    const uint8_t row[] = {1, 0, 0, 1};
    std::copy(std::begin(table), std::end(table), dib.begin() + 40);
    std::copy(std::begin(row), std::end(row), dib.begin() + 48);
    auto block = BlockOf(dib);
    EXPECT_NE(PaintDibPlain(m_dc.Get(), 0, 0, 4, 1, block.Get(), 0, 0, 4, 1, SRCCOPY), 0);
    EXPECT_EQ(At(0, 0), kBlue);
    EXPECT_EQ(At(1, 0), kRed);
    EXPECT_EQ(At(2, 0), kRed);
    EXPECT_EQ(At(3, 0), kBlue);
}

TEST_F(DibPaintTest, PaintDibPlainWithoutABlockAppliesTheRasterOperationAlone) {
    EXPECT_NE(PaintDibPlain(m_dc.Get(), 1, 2, 3, 4, nullptr, 0, 0, 0, 0, WHITENESS), 0);
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 0; x < kSurfaceWidth; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 6;
            ASSERT_EQ(At(x, y), inside ? RGB(0xFF, 0xFF, 0xFF) : kUntouched) << x << "," << y;
        }
}

TEST_F(DibPaintTest, DamagedOrMissingBlocksDrawNothing) {
    auto dib = PatternDib(false);
    dib.pop_back();
    auto damaged = BlockOf(dib);
    const RECT dst{0, 0, 2 * kWidth, 2 * kHeight};
    const RECT src{0, 0, kWidth, kHeight};
    EXPECT_EQ(PaintDib(m_dc.Get(), dst, damaged.Get(), src, nullptr, SRCCOPY), 0);
    EXPECT_EQ(PaintDib(m_dc.Get(), dst, nullptr, src, nullptr, SRCCOPY), 0);
    EXPECT_EQ(PaintDibPlain(m_dc.Get(), 0, 0, 10, 6, damaged.Get(), 0, 0, kWidth, kHeight, SRCCOPY), 0);
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 0; x < kSurfaceWidth; ++x)
            ASSERT_EQ(At(x, y), kUntouched) << x << "," << y;
}
