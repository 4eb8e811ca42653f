#include <gtest/gtest.h>

#include "companions/kdmlib/core/Rotate.h"
#include "companions/kdmlib/core/Smooth.h"
#include "companions/kdmlib/core/Stretch.h"

namespace {

using kdm::BilevelImage;

// An L-shaped mark in a 3 x 2 image (top-down):
//   X . .
//   X X .
BilevelImage Ell() {
    BilevelImage image(3, 2);
    image.SetBlack(0, 0);
    image.SetBlack(0, 1);
    image.SetBlack(1, 1);
    return image;
}

BilevelImage Noise(uint32_t w, uint32_t h) {
    BilevelImage image(w, h);
    uint32_t state = 12345;
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            state = state * 1103515245 + 12345;
            if ((state >> 16) % 3 == 0) {
                image.SetBlack(x, y);
            }
        }
    }
    return image;
}

std::vector<std::string> Picture(const BilevelImage& image) {
    std::vector<std::string> rows;
    for (uint32_t y = 0; y < image.height; ++y) {
        std::string row;
        for (uint32_t x = 0; x < image.width; ++x) {
            row += image.Black(x, y) ? 'X' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(RotatePage, QuarterTurnsClockwise) {
    auto right = kdm::RotatePage(Ell(), 90);
    ASSERT_TRUE(right);
    EXPECT_EQ(Picture(*right), (std::vector<std::string>{"XX", "X.", ".."}));
    auto half = kdm::RotatePage(Ell(), 180);
    ASSERT_TRUE(half);
    EXPECT_EQ(Picture(*half), (std::vector<std::string>{".XX", "..X"}));
    auto left = kdm::RotatePage(Ell(), 270);
    ASSERT_TRUE(left);
    EXPECT_EQ(Picture(*left), (std::vector<std::string>{"..", ".X", "XX"}));
}

TEST(RotatePage, FourQuarterTurnsGiveBackTheSameBytes) {
    // Widths that are and are not whole bytes and words, so padding bits are exercised.
    for (auto [w, h] : {std::pair{1728u, 40u}, {37u, 61u}, {64u, 8u}, {1u, 9u}}) {
        const BilevelImage page = Noise(w, h);
        BilevelImage turned = page;
        for (int i = 0; i < 4; ++i) {
            turned = *kdm::RotatePage(turned, 90);
        }
        EXPECT_EQ(turned.bits, page.bits) << w << "x" << h;
        EXPECT_EQ(*kdm::RotatePage(*kdm::RotatePage(page, 180), 180), page);
        EXPECT_EQ(*kdm::RotatePage(*kdm::RotatePage(page, 90), 270), page);
    }
}

TEST(RotatePage, IgnoresPaddingBitsAndOtherAngles) {
    BilevelImage page = Ell();
    page.Row(page.height - 1)[0] |= 0x1F;  // padding of the bottom row
    EXPECT_EQ(Picture(*kdm::RotatePage(page, 90)), (std::vector<std::string>{"XX", "X.", ".."}));
    for (uint32_t degrees : {0u, 45u, 360u, 450u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(kdm::RotatePage(page, degrees)) << degrees;
    }
}

TEST(StretchPage, ModeZeroDoublesEveryRowModeOneKeepsThePage) {
    auto tall = kdm::StretchPage(Ell(), 0);
    ASSERT_TRUE(tall);
    EXPECT_EQ(Picture(*tall), (std::vector<std::string>{"X..", "X..", "XX.", "XX."}));
    auto same = kdm::StretchPage(Ell(), 1);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, Ell());
    EXPECT_FALSE(kdm::StretchPage(Ell(), 2));
}

TEST(SmoothPage, KeepsTheSizeAndShadesEdges) {
    BilevelImage page(5, 5);
    for (uint32_t y = 0; y < 5; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            page.SetBlack(x, y);
        }
    }
    // A white hole in the middle: grey there, black far from it.
    BilevelImage holed = page;
    holed.Row(2)[0] &= static_cast<uint8_t>(~(0x80 >> 2));
    std::vector<unsigned> progress;
    const kdm::GreyImage grey = kdm::SmoothPage(holed, kdm::kWhiteOnBlack, [&](unsigned p) { progress.push_back(p); });
    EXPECT_EQ(grey.width, 5u);
    EXPECT_EQ(grey.height, 5u);
    EXPECT_EQ(grey.Stride(), 8u);
    // Grey follows the 1-2-1 weight of black around each pixel, w of 16.
    auto shade = [](int w) { return 255.0 * (16 - w) / 16; };
    EXPECT_NEAR(grey.Row(2)[2], shade(12), 1);  // the hole: only its own weight is white
    EXPECT_NEAR(grey.Row(1)[1], shade(15), 1);  // diagonal to the hole
    EXPECT_NEAR(grey.Row(2)[1], shade(14), 1);  // beside it
    EXPECT_NEAR(grey.Row(0)[0], shade(9), 1);   // a corner: outside the page counts as white
    EXPECT_NEAR(grey.Row(0)[2], shade(12), 1);  // the top edge
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100u);

    // An all-white page stays white, with the colours given.
    const kdm::BilevelColours inverted = {{{0, 0, 0}, {255, 255, 255}}};
    const kdm::GreyImage dark = kdm::SmoothPage(BilevelImage(4, 3), inverted);
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(dark.Row(y)[x], 0);
        }
    }
}

}  // namespace
