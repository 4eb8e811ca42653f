#include <windows.h>

#include <gtest/gtest.h>

#include "viewer/dib/BmpImageConversion.h"
#include "viewer/dib/CopyDib.h"
#include "viewer/dib/PackedDib.h"
#include "viewer/dib/core/tests/DibTestBytes.h"
#include "viewer/dib/tests/DibTestBlocks.h"

namespace {
BITMAPINFOHEADER InfoHeader(LONG width, LONG height, WORD bitCount, DWORD compression = BI_RGB, DWORD clrUsed = 0) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bitCount;
    h.biCompression = compression;
    h.biClrUsed = clrUsed;
    return h;
}

ptrdiff_t BitsOffset(const void* header) {
    return DibBits(header) - static_cast<const BYTE*>(header);
}
}  // namespace

TEST(PackedDibHeader, ReadsTheFieldsOfTheWindowsInfoHeader) {
    const auto trueColour = InfoHeader(640, -480, 24);
    EXPECT_EQ(DibNumColors(&trueColour), 0);
    EXPECT_EQ(DibPaletteSize(&trueColour), 0u);
    EXPECT_EQ(BitsOffset(&trueColour), 40);
    EXPECT_EQ(DibWidth(&trueColour), 640);
    EXPECT_EQ(DibHeight(&trueColour), -480);

    const auto twoColours = InfoHeader(8, 8, 8, BI_RGB, 2);
    EXPECT_EQ(DibNumColors(&twoColours), 2);
    EXPECT_EQ(DibPaletteSize(&twoColours), 8u);
    EXPECT_EQ(BitsOffset(&twoColours), 48);

    const auto bitFields = InfoHeader(8, 8, 16, BI_BITFIELDS);
    EXPECT_EQ(DibPaletteSizeMasks(&bitFields), DibPaletteSize(&bitFields) + 12);

    const auto mono = InfoHeader(1728, 100, 1);
    EXPECT_EQ(DibPaletteSize(&mono), 2 * sizeof(RGBQUAD));
    EXPECT_EQ(DibPaletteSizeMasks(&mono), 2 * sizeof(RGBQUAD));
}

TEST(PackedDibHeader, ReadsTheFieldsOfTheWindowsCoreHeader) {
    BITMAPCOREHEADER core{sizeof core, 1728, 2200, 1, 4};
    EXPECT_EQ(DibNumColors(&core), 16);
    EXPECT_EQ(DibPaletteSize(&core), 16 * sizeof(RGBTRIPLE));
    EXPECT_EQ(BitsOffset(&core), 12 + 48);
    EXPECT_EQ(DibWidth(&core), 1728);
    EXPECT_EQ(DibHeight(&core), 2200);
    EXPECT_EQ(DibBits(nullptr), nullptr);
}

TEST(CopyDib, CopiesEveryByteWhateverTheSize) {
    for (size_t words : {0, 16, 5400}) {
        for (size_t extra = 1; extra <= 7; ++extra) {
            std::vector<uint8_t> bytes(words * 4 + extra);
            for (size_t i = 0; i < bytes.size(); ++i)
                bytes[i] = static_cast<uint8_t>(0xA5 ^ (i * 13));
            auto source = BlockOf(bytes);
            CGlobalBlock copy(CopyDib(source.Get()));
            ASSERT_TRUE(copy) << bytes.size();
            EXPECT_NE(copy.Get(), source.Get());
            EXPECT_EQ(GlobalSize(copy.Get()), bytes.size());
            EXPECT_EQ(BytesOf(copy.Get()), bytes) << bytes.size();
        }
    }
    EXPECT_EQ(CopyDib(nullptr), nullptr);
}

TEST(BmpImageConversion, RoundTripsThroughGlobalBlocks) {
    const auto dib = MakeInfoDib({.width = 1728, .height = 100, .sizeImage = 21600});
    auto packed = BlockOf(dib);
    CGlobalBlock image(PackedDibToBmpImage(packed.Get()));
    ASSERT_TRUE(image);
    const auto imageBytes = BytesOf(image.Get());
    ASSERT_EQ(imageBytes.size(), 14 + dib.size());
    BITMAPFILEHEADER file;
    std::memcpy(&file, imageBytes.data(), sizeof file);
    EXPECT_EQ(file.bfType, 0x4D42);
    EXPECT_EQ(file.bfSize, imageBytes.size());
    EXPECT_EQ(file.bfReserved1, 0);
    EXPECT_EQ(file.bfReserved2, 0);
    EXPECT_EQ(file.bfOffBits, sizeof file + 40 + 8);

    CGlobalBlock back = BmpImageToPackedDib(std::move(image));
    ASSERT_TRUE(back);
    EXPECT_EQ(BytesOf(back.Get()), dib);
}

TEST(BmpImageConversion, StoresTheImageSizeInTheCopyOnly) {
    const auto dib = MakeInfoDib({.width = 16, .height = 3});
    auto packed = BlockOf(dib);
    CGlobalBlock image(PackedDibToBmpImage(packed.Get()));
    ASSERT_TRUE(image);
    const auto imageBytes = BytesOf(image.Get());
    EXPECT_EQ(ReadLe32(&imageBytes[14 + 20]), 12u);
    EXPECT_EQ(BytesOf(packed.Get()), dib);
}

TEST(BmpImageConversion, RefusesWhatIsNotAWholeInfoHeaderBitmap) {
    auto core = BlockOf(MakeCoreDib(16, 16, 1));
    EXPECT_EQ(PackedDibToBmpImage(core.Get()), nullptr);

    auto dib = MakeInfoDib({.width = 1728, .height = 100});
    WriteLe32(&dib[8], 101);  // claims one row more than the block holds
    auto damaged = BlockOf(dib);
    EXPECT_EQ(PackedDibToBmpImage(damaged.Get()), nullptr);
    EXPECT_EQ(PackedDibToBmpImage(nullptr), nullptr);

    const uint8_t bmp[15] = {'B', 'M', 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7};
    auto fileHeaderOnly = BlockOf(bmp, 14);
    EXPECT_FALSE(BmpImageToPackedDib(std::move(fileHeaderOnly)));
    CGlobalBlock tiny = BmpImageToPackedDib(BlockOf(bmp, 15));
    EXPECT_EQ(GlobalSize(tiny.Get()), 1u);
    EXPECT_EQ(BytesOf(tiny.Get()), std::vector<uint8_t>{7});
    EXPECT_FALSE(BmpImageToPackedDib(CGlobalBlock()));
}
