#include <gtest/gtest.h>

#include "viewer/dib/core/BmpImage.h"
#include "viewer/dib/core/tests/DibTestBytes.h"

namespace {
std::vector<uint8_t> ToBmpImage(const std::vector<uint8_t>& dib) {
    std::vector<uint8_t> image(static_cast<size_t>(BmpImageSize(dib)));
    if (!image.empty())
        WriteBmpImage(dib, image);
    return image;
}

std::vector<uint8_t> PackedPart(const std::vector<uint8_t>& image) {
    return {image.begin() + kBmpFileHeaderSize, image.end()};
}
}  // namespace

TEST(BmpImage, FileHeaderPrecedesTheBitmapAndTheImageSizeIsStoredBack) {
    auto dib = MakeInfoDib({.width = 1728, .height = 100});
    auto image = ToBmpImage(dib);
    ASSERT_EQ(image.size(), 14u + 40 + 8 + 21600);
    EXPECT_EQ(image[0], 'B');
    EXPECT_EQ(image[1], 'M');
    EXPECT_EQ(ReadLe32(&image[2]), image.size());
    EXPECT_EQ(ReadLe32(&image[6]), 0u);
    EXPECT_EQ(ReadLe32(&image[10]), 14u + 40 + 8);
    auto packed = PackedPart(image);
    EXPECT_EQ(ReadLe32(&packed[20]), 21600u);
    WriteLe32(&packed[20], 0);
    EXPECT_EQ(packed, dib);
}

TEST(BmpImage, RoundTripIsByteExact) {
    const InfoDibFields kinds[] = {
        {.width = 1728, .height = 100, .sizeImage = 21600},
        {.width = 5, .height = 3, .bitCount = 8, .sizeImage = 24, .clrUsed = 2},
        {.width = 3, .height = 2, .bitCount = 24, .sizeImage = 24},
        {.bitCount = 8, .compression = 1, .sizeImage = 13},
        {.width = 3, .height = 2, .bitCount = 16, .compression = 3, .sizeImage = 16},
    };
    for (const auto& f : kinds) {
        auto dib = MakeInfoDib(f);
        auto image = ToBmpImage(dib);
        SCOPED_TRACE(testing::Message() << "bits " << f.bitCount << " compression " << f.compression);
        ASSERT_EQ(image.size(), 14 + dib.size());
        EXPECT_EQ(ReadLe32(&image[10]), 14 + 40 + TestTableBytes(f));
        EXPECT_EQ(PackedPart(image), dib);
        EXPECT_EQ(ToBmpImage(PackedPart(image)), image);
    }
}

TEST(BmpImage, CopiesOnlyTheBitmapOfALargerBlock) {
    auto dib = MakeInfoDib({.width = 16, .height = 2, .sizeImage = 8});
    auto block = dib;
    block.resize(block.size() + 100, 0xEE);
    EXPECT_EQ(PackedPart(ToBmpImage(block)), dib);
}

TEST(BmpImage, OnlyAValidBitmapWithThe40ByteHeaderConverts) {
    EXPECT_EQ(BmpImageSize(MakeCoreDib(8, 8, 1)), 0u);
    EXPECT_EQ(BmpImageSize(MakeInfoDib({.headerSize = 108})), 0u);
    auto damaged = MakeInfoDib({.width = 1728, .height = 100});
    damaged.pop_back();
    EXPECT_EQ(BmpImageSize(damaged), 0u);
    EXPECT_EQ(BmpImageSize(DibBytes()), 0u);
}
