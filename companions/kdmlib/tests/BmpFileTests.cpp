#include <gtest/gtest.h>

#include "companions/kdmlib/core/BmpFile.h"

namespace {

using kdm::BilevelImage;

BilevelImage Sample() {
    BilevelImage image(37, 5);
    image.SetBlack(0, 0);
    image.SetBlack(36, 4);
    image.SetBlack(20, 2);
    return image;
}

void Put32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

TEST(BmpFile, WritesTheLayoutTheViewerConverts) {
    const std::vector<uint8_t> file = kdm::BilevelBmpFile(Sample());
    ASSERT_EQ(file.size(), 14u + 40 + 8 + 8 * 5);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[2] | file[3] << 8, static_cast<int>(file.size()));
    EXPECT_EQ(file[10], 62);                       // bfOffBits
    EXPECT_EQ(file[14], 40);                       // biSize
    EXPECT_EQ(file[18], 37);                       // biWidth
    EXPECT_EQ(file[22], 5);                        // biHeight, positive: bottom-up
    EXPECT_EQ(file[28], 1);                        // biBitCount
    EXPECT_EQ(file[34], 40);                       // biSizeImage
    EXPECT_EQ(file[54], 0xFF);                     // entry 0 white
    EXPECT_EQ(file[58] | file[59] | file[60], 0);  // entry 1 black
    // The top row is stored last.
    EXPECT_EQ(file[62 + 4 * 8], 0x80);
}

TEST(BmpFile, ReadsBackWhatItWrites) {
    const kdm::BilevelColours colours = {{{10, 20, 30}, {200, 100, 50}}};
    auto back = kdm::ReadBilevelBmp(kdm::BilevelBmpFile(Sample(), colours));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->image, Sample());
    EXPECT_EQ(back->colours, colours);
}

TEST(BmpFile, ReadsTopDownImagesTheRightWayUp) {
    std::vector<uint8_t> file = kdm::BilevelBmpFile(Sample());
    Put32(file, 22, static_cast<uint32_t>(-5));
    std::vector<uint8_t> rows(file.begin() + 62, file.end());
    for (int y = 0; y < 5; ++y) {
        std::copy(rows.begin() + (4 - y) * 8, rows.begin() + (5 - y) * 8, file.begin() + 62 + y * 8);
    }
    auto back = kdm::ReadBilevelBmp(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->image, Sample());
}

TEST(BmpFile, RefusesWhatItCannotTrust) {
    const std::vector<uint8_t> good = kdm::BilevelBmpFile(Sample());
    auto with = [&good](size_t at, uint32_t v) {
        std::vector<uint8_t> f = good;
        Put32(f, at, v);
        return f;
    };
    EXPECT_FALSE(kdm::ReadBilevelBmp(std::span(good).first(good.size() - 1)));  // one pixel byte short
    EXPECT_FALSE(kdm::ReadBilevelBmp(std::span(good).first(20)));
    EXPECT_FALSE(kdm::ReadBilevelBmp({}));
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(0, 0x4D41)));        // not "BM"
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(14, 12)));           // core header
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(18, 0)));            // no width
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(18, 0x80000000u)));  // negative width
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(22, 0)));            // no height
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(22, 0x7FFFFFFF)));   // far more rows than bytes
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(22, 0x80000000u)));  // most negative height
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(26, 1 | 8 << 16)));  // 8 bits per pixel
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(30, 1)));            // run-length compressed
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(46, 16)));           // 16 colours on 1 bit
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(10, 20)));           // pixels over the headers
    EXPECT_FALSE(kdm::ReadBilevelBmp(with(10, 0xFFFFFFF0u)));  // pixels past the end
    EXPECT_TRUE(kdm::ReadBilevelBmp(with(2, 1)));              // bfSize is not relied on
}

}  // namespace
