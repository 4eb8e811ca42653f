#include <gtest/gtest.h>

#include <limits>

#include "viewer/dib/core/PackedDibLayout.h"
#include "viewer/dib/core/tests/DibTestBytes.h"

namespace {
struct ColourCase {
    uint16_t bitCount;
    uint32_t compression;
    uint32_t clrUsed;
    uint16_t colors;
    uint32_t paletteSize;
    uint32_t paletteSizeMasks;
};

std::vector<uint8_t> InfoHeader(uint16_t bitCount, uint32_t compression, uint32_t clrUsed) {
    std::vector<uint8_t> h(40);
    WriteLe32(&h[0], 40);
    WriteLe16(&h[14], bitCount);
    WriteLe32(&h[16], compression);
    WriteLe32(&h[32], clrUsed);
    return h;
}
}  // namespace

TEST(PackedDibLayout, ColourCountsAndTableSizesOfTheInfoHeader) {
    const ColourCase cases[] = {
        {1, 0, 0, 2, 8, 8},
        {4, 0, 0, 16, 64, 64},
        {8, 0, 0, 256, 1024, 1024},
        {24, 0, 0, 0, 0, 0},
        {16, 0, 0, 0, 0, 0},
        {32, 0, 0, 0, 0, 0},
        {8, 0, 2, 2, 8, 8},
        {24, 0, 3, 3, 12, 12},
        {16, 3, 0, 0, 0, 12},
        {32, 3, 0, 0, 0, 12},
        {8, 3, 0, 256, 1024, 1036},
        // Any other bit count has no colours, but the mask rule still counts 2^bitcount entries up to 8 bits.
        {2, 0, 0, 0, 0, 16},
        {0, 0, 0, 0, 0, 4},
        {7, 0, 0, 0, 0, 512},
        // The count is 16-bit.
        {8, 0, 0x10002, 2, 8, 8},
    };
    for (const auto& c : cases) {
        auto h = InfoHeader(c.bitCount, c.compression, c.clrUsed);
        SCOPED_TRACE(testing::Message() << "bits " << c.bitCount << " compression " << c.compression << " used "
                                        << c.clrUsed);
        EXPECT_EQ(DibNumColors(h), c.colors);
        EXPECT_EQ(DibPaletteSize(h), c.paletteSize);
        EXPECT_EQ(DibPaletteSizeMasks(h), c.paletteSizeMasks);
        EXPECT_EQ(DibBitsOffset(h), 40 + c.paletteSize);
    }
}

TEST(PackedDibLayout, CoreHeaderHasThreeByteEntriesAndUnsigned16BitSizes) {
    auto dib = MakeCoreDib(0xFFFF, 3, 1);
    EXPECT_TRUE(IsDibCoreHeader(dib));
    EXPECT_EQ(DibNumColors(dib), 2);
    EXPECT_EQ(DibPaletteSize(dib), 6u);
    EXPECT_EQ(DibPaletteSizeMasks(dib), 6u);
    EXPECT_EQ(DibBitsOffset(dib), 18u);
    EXPECT_EQ(DibWidth(dib), 65535);
    EXPECT_EQ(DibHeight(dib), 3);
    EXPECT_EQ(DibBitCount(dib), 1);
    EXPECT_EQ(DibImageSize(dib), 8192u * 3);

    auto eight = MakeCoreDib(2, 2, 8);
    EXPECT_EQ(DibPaletteSize(eight), 768u);
    EXPECT_EQ(DibBitsOffset(eight), 780u);
    auto trueColour = MakeCoreDib(2, 2, 24);
    EXPECT_EQ(DibNumColors(trueColour), 0);
    EXPECT_EQ(DibPaletteSize(trueColour), 0u);
}

TEST(PackedDibLayout, CoreHeaderIgnoresTheBytesWhereAnInfoHeaderKeepsItsFields) {
    auto dib = MakeCoreDib(4, 4, 1);
    // Colour table bytes at the info header's compression and biClrUsed offsets must not count.
    dib[16] = 3;
    dib[32] = 9;
    EXPECT_EQ(DibNumColors(dib), 2);
    EXPECT_EQ(DibPaletteSizeMasks(dib), 6u);
    EXPECT_EQ(DibCompression(dib), 0u);
}

TEST(PackedDibLayout, ColourEntriesAreBlueGreenRedInFourOrThreeBytes) {
    auto info = MakeInfoDib({.bitCount = 1});
    const uint8_t quads[] = {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0xFF};
    std::copy(std::begin(quads), std::end(quads), info.begin() + 40);
    EXPECT_EQ(DibColor(info, 0), (DibRgb{0x30, 0x20, 0x10}));
    EXPECT_EQ(DibColor(info, 1), (DibRgb{0x60, 0x50, 0x40}));

    auto core = MakeCoreDib(8, 1, 1);
    const uint8_t triples[] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    std::copy(std::begin(triples), std::end(triples), core.begin() + 12);
    EXPECT_EQ(DibColor(core, 0), (DibRgb{0x30, 0x20, 0x10}));
    EXPECT_EQ(DibColor(core, 1), (DibRgb{0x60, 0x50, 0x40}));

    EXPECT_EQ(DibColor(DibBytes(core.data(), 17), 1), DibRgb{});
    EXPECT_EQ(DibColor(core, 0xFFFFFFFF), DibRgb{});
}

TEST(PackedDibLayout, InfoHeaderSizesAreSigned32BitAndLargerHeadersMoveTheRows) {
    auto dib = MakeInfoDib({.width = 1728, .height = 100});
    WriteLe32(&dib[8], static_cast<uint32_t>(-100));
    EXPECT_EQ(DibWidth(dib), 1728);
    EXPECT_EQ(DibHeight(dib), -100);

    auto v5 = MakeInfoDib({.bitCount = 4, .headerSize = 124});
    EXPECT_FALSE(IsDibCoreHeader(v5));
    EXPECT_EQ(DibBitsOffset(v5), 124u + 64);
}

TEST(PackedDibLayout, ImageSizeIsPaddedRowsOrTheRunLengthByteCount) {
    EXPECT_EQ(DibRowsSize(1, 1728, 100), 21600u);
    EXPECT_EQ(DibRowsSize(1, 1729, 1), 220u);
    EXPECT_EQ(DibRowsSize(24, 1, 1), 4u);
    EXPECT_EQ(DibRowsSize(24, 3, 2), 24u);
    EXPECT_EQ(DibRowsSize(32, 0xFFFFFFFF, 0xFFFFFFFF), std::numeric_limits<uint64_t>::max());

    EXPECT_EQ(DibImageSize(MakeInfoDib({.width = 10, .height = 3, .bitCount = 8, .sizeImage = 5})), 36u);
    EXPECT_EQ(DibImageSize(MakeInfoDib({.bitCount = 8, .compression = 1, .sizeImage = 77})), 77u);
    EXPECT_EQ(DibImageSize(MakeInfoDib({.bitCount = 4, .compression = 2, .sizeImage = 9})), 9u);
    EXPECT_EQ(DibImageSize(MakeInfoDib({.width = 3, .height = 2, .bitCount = 16, .compression = 3})), 16u);
}

TEST(PackedDibLayout, FieldsBeyondTheBytesReadAsZero) {
    auto dib = MakeInfoDib({.bitCount = 8, .clrUsed = 5});
    DibBytes sizeOnly(dib.data(), 4);
    EXPECT_EQ(DibBitCount(sizeOnly), 0);
    EXPECT_EQ(DibNumColors(sizeOnly), 0);
    EXPECT_EQ(DibWidth(sizeOnly), 0);
    EXPECT_EQ(DibImageSize(sizeOnly), 0u);
    EXPECT_EQ(DibHeaderSize(DibBytes(dib.data(), 3)), 0u);
    EXPECT_EQ(DibNumColors(DibBytes(dib.data(), 33)), 256);
}

TEST(PackedDibValidation, AcceptsEveryKindTheRoutinesHandle) {
    const InfoDibFields good[] = {
        {.width = 1728, .height = 100},
        {.bitCount = 4},
        {.bitCount = 8},
        {.bitCount = 8, .clrUsed = 256},
        {.bitCount = 8, .clrUsed = 2},
        {.bitCount = 16},
        {.bitCount = 24},
        {.bitCount = 24, .clrUsed = 0xFFFF},
        {.bitCount = 32},
        {.bitCount = 16, .compression = 3},
        {.bitCount = 32, .compression = 3},
        {.bitCount = 8, .compression = 1, .sizeImage = 10},
        {.bitCount = 4, .compression = 2, .sizeImage = 3},
        {.bitCount = 1, .headerSize = 108},
    };
    for (const auto& f : good) {
        auto dib = MakeInfoDib(f);
        SCOPED_TRACE(testing::Message() << "bits " << f.bitCount << " compression " << f.compression);
        EXPECT_TRUE(IsValidPackedDib(dib));
        // Every byte counts: a block cut anywhere in header, colour table or rows is damaged.
        for (size_t n = 0; n < dib.size(); n += (n >= 1200 && n + 64 < dib.size()) ? 997 : 1) {
            std::vector<uint8_t> cut(dib.begin(), dib.begin() + static_cast<ptrdiff_t>(n));
            ASSERT_FALSE(IsValidPackedDib(cut)) << n << " of " << dib.size() << " bytes";
        }
        dib.push_back(0);
        EXPECT_TRUE(IsValidPackedDib(dib)) << "a block may be larger than its bitmap";
    }
    for (uint16_t bits : {1, 4, 8, 24}) {
        auto dib = MakeCoreDib(5, 3, bits);
        EXPECT_TRUE(IsValidPackedDib(dib)) << bits;
        EXPECT_FALSE(IsValidPackedDib(DibBytes(dib.data(), dib.size() - 1))) << bits;
    }
}

TEST(PackedDibValidation, RejectsHeadersThatDoNotDescribeABitmap) {
    const InfoDibFields bad[] = {
        {.width = 0},
        {.width = -8},
        {.height = 0},
        {.height = -4},
        {.bitCount = 0},
        {.bitCount = 2},
        {.bitCount = 7},
        {.bitCount = 48},
        {.bitCount = 1, .clrUsed = 3},
        {.bitCount = 4, .clrUsed = 17},
        {.bitCount = 8, .clrUsed = 257},
        {.bitCount = 24, .clrUsed = 0x10000},
        {.bitCount = 4, .compression = 1, .sizeImage = 10},
        {.bitCount = 8, .compression = 2, .sizeImage = 10},
        {.bitCount = 8, .compression = 1, .sizeImage = 0},
        {.bitCount = 8, .compression = 3},
        {.bitCount = 24, .compression = 3},
        {.bitCount = 24, .compression = 4},
        {.bitCount = 24, .compression = 5},
        {.headerSize = 39},
        {.headerSize = 13},
    };
    for (const auto& f : bad) {
        auto dib = MakeInfoDib(f);
        dib.resize(dib.size() + 4096);
        EXPECT_FALSE(IsValidPackedDib(dib))
            << "width " << f.width << " height " << f.height << " bits " << f.bitCount << " compression "
            << f.compression << " used " << f.clrUsed << " header " << f.headerSize;
    }
    for (uint16_t bits : {16, 32, 0, 2}) {
        auto dib = MakeCoreDib(5, 3, bits);
        dib.resize(dib.size() + 64);
        EXPECT_FALSE(IsValidPackedDib(dib)) << "core header with " << bits << " bits";
    }
    auto zeroCore = MakeCoreDib(0, 3, 1);
    EXPECT_FALSE(IsValidPackedDib(zeroCore));
}

TEST(PackedDibValidation, RejectsSizesWhoseArithmeticWouldOverflow) {
    std::vector<uint8_t> block(64 * 1024);
    auto header = MakeInfoDib({.width = 1, .height = 1, .bitCount = 32});
    std::copy(header.begin(), header.begin() + 40, block.begin());
    auto claim = [&](uint32_t width, uint32_t height, uint32_t headerSize = 40) {
        WriteLe32(&block[0], headerSize);
        WriteLe32(&block[4], width);
        WriteLe32(&block[8], height);
        return IsValidPackedDib(block);
    };
    EXPECT_TRUE(claim(64, 64));
    EXPECT_FALSE(claim(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_FALSE(claim(0x7FFFFFFF, 1));
    EXPECT_FALSE(claim(1, 0x7FFFFFFF));
    EXPECT_FALSE(claim(0x04000000, 16));  // 2^32 bytes: 0 in 32-bit arithmetic
    EXPECT_FALSE(claim(64, 64, 0xFFFFFFF0));
    EXPECT_FALSE(claim(64, 64, 0xFFFFFFFF));
}

TEST(PackedDibValidation, RejectsRunLengthImagesClaimingMoreBytesThanTheBlock) {
    auto dib = MakeInfoDib({.bitCount = 8, .compression = 1, .sizeImage = 10});
    WriteLe32(&dib[20], 0xFFFFFFFF);
    EXPECT_FALSE(IsValidPackedDib(dib));
    WriteLe32(&dib[20], 11);
    EXPECT_FALSE(IsValidPackedDib(dib));
}
