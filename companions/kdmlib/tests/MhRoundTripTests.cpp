#include <gtest/gtest.h>

#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"

namespace {

using kdm::BilevelImage;
using mh::EncodeMh;
using mh::MhEncodeOptions;

const MhEncodeOptions kFramings[] = {
    {true, false, true}, {true, true, true}, {false, false, false}, {false, false, true}, {true, true, false},
};

std::string Describe(const MhEncodeOptions& o) {
    return std::string(o.eol ? "eol" : "no-eol") + (o.fillBits ? " fill" : "") + (o.rtc ? " rtc" : "");
}

void ExpectRoundTrip(const BilevelImage& page, uint32_t decodeParam) {
    for (const MhEncodeOptions& options : kFramings) {
        auto decoded = kdm::DecodeMh(EncodeMh(page, options), decodeParam);
        ASSERT_TRUE(decoded) << Describe(options);
        EXPECT_EQ(decoded->damagedLines, 0u) << Describe(options);
        EXPECT_TRUE(decoded->image == page) << Describe(options);
    }
}

TEST(MhRoundTrip, EveryRunLengthOfBothColours) {
    // Row r: white r, black rest; then black r, white rest. Covers 0..1728 in both colours, make-ups included.
    BilevelImage page(1728, 2 * 1729);
    for (uint32_t r = 0; r <= 1728; ++r) {
        for (uint32_t x = r; x < 1728; ++x) {
            page.SetBlack(x, 2 * r);
        }
        for (uint32_t x = 0; x < r; ++x) {
            page.SetBlack(x, 2 * r + 1);
        }
    }
    ExpectRoundTrip(page, 1);
}

TEST(MhRoundTrip, RunsOfWidePagesUseTheExtendedMakeUpCodes) {
    for (uint32_t width : {2048u, 2432u}) {
        BilevelImage page(width, 2 * 200);
        for (uint32_t r = 0; r < 200; ++r) {
            const uint32_t run = width - 1 - r * 7 % width;
            for (uint32_t x = 0; x < run; ++x) {
                page.SetBlack(x, 2 * r);
            }
            page.SetBlack(run, 2 * r + 1);
        }
        ExpectRoundTrip(page, width == 2048 ? 2 : 3);
        ExpectRoundTrip(page, 0);
    }
}

TEST(MhRoundTrip, WhatLiesInARowsPaddingIsNotCoded) {
    for (uint32_t width : {1000u, 861u}) {  // the row's own padding, and a copy padded to whole words
        BilevelImage page = mh::RandomPage(width, 50, 40, width);
        BilevelImage padded = page;
        for (uint32_t y = 0; y < page.height; ++y)
            for (uint32_t x = width; x < page.Stride() * 8; ++x)
                padded.SetBlack(x, y);
        EXPECT_EQ(EncodeMh(padded), EncodeMh(page)) << width;
    }
}

TEST(MhRoundTrip, TypicalPagesDecodeExactly) {
    ExpectRoundTrip(mh::TypedLetterPage(), 1);
    ExpectRoundTrip(mh::TypedLetterPage(mh::kA4StandardRows), 0);
    ExpectRoundTrip(mh::CoverPage(), 1);
    ExpectRoundTrip(BilevelImage(1728, 300), 1);
    ExpectRoundTrip(mh::HalftonePage(400), 1);
    ExpectRoundTrip(mh::RandomPage(1728, 300, 50, 7), 1);
    ExpectRoundTrip(mh::RandomPage(864, 100, 10, 8), 5);
    ExpectRoundTrip(mh::RandomPage(1216, 100, 90, 9), 0);
}

TEST(MhRoundTrip, HalftoneCodesLargerThanRaw) {
    const BilevelImage page = mh::HalftonePage();
    EXPECT_GT(EncodeMh(page).size(), page.bits.size());
}

std::string BitString(const std::vector<uint8_t>& coded) {
    std::string bits;
    for (uint8_t b : coded) {
        for (int i = 7; i >= 0; --i) {
            bits += (b >> i) & 1 ? '1' : '0';
        }
    }
    return bits;
}

TEST(MhEncoderFraming, FillBitsEndEveryEolOnAByteBoundary) {
    for (bool fill : {true, false}) {
        const std::string bits = BitString(EncodeMh(mh::RandomPage(1728, 20, 30, 3), {true, fill, true}));
        // No code has more than 7 leading zeros, so each "00000000000" + "1" ends fill bits and an EOL.
        size_t eols = 0, aligned = 0;
        for (size_t at = bits.find("000000000001"); at != std::string::npos; at = bits.find("000000000001", at + 1)) {
            ++eols;
            aligned += (at + 12) % 8 == 0;
        }
        EXPECT_EQ(eols, 26u);
        EXPECT_EQ(aligned == eols, fill);
    }
}

TEST(MhEncoderFraming, EolAndRtcAreWhereT4PutsThem) {
    // One white line: EOL, white 1728 + 0, then RTC.
    const std::string bits = BitString(EncodeMh(BilevelImage(1728, 1), {true, false, true}));
    std::string expected = std::string("000000000001") +
                           "010011011"
                           "00110101";
    for (int i = 0; i < 6; ++i) {
        expected += "000000000001";
    }
    expected += std::string((8 - expected.size() % 8) % 8, '0');
    EXPECT_EQ(bits, expected);

    EXPECT_EQ(EncodeMh(BilevelImage(1728, 1), {false, false, false}).size(), 3u);  // 17 bits
}

TEST(MhDamage, DamagedBytesCostOnlyTheLinesTheyHit) {
    const BilevelImage page = mh::TypedLetterPage();
    std::vector<uint8_t> coded = EncodeMh(page, {true, true, true});
    // Damage the middle of one line's code, away from its EOLs: with fill bits each EOL is "00 01" on byte
    // boundaries, so pick a stretch with no zero byte in it.
    size_t at = coded.size() / 2;
    while (coded[at] == 0 || coded[at + 1] == 0 || coded[at + 2] == 0 || coded[at - 1] == 0 || coded[at + 3] == 0) {
        ++at;
    }
    coded[at] ^= 0xA5;
    coded[at + 1] ^= 0x3C;
    auto decoded = kdm::DecodeMh(coded, 1);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->image.height, page.height);
    uint32_t differing = 0;
    for (uint32_t y = 0; y < page.height; ++y) {
        const bool same = std::equal(page.Row(y), page.Row(y) + page.Stride(), decoded->image.Row(y));
        if (!same) {
            ++differing;
            // A lost line shows the line above it.
            ASSERT_GT(y, 0u);
            EXPECT_TRUE(
                std::equal(decoded->image.Row(y), decoded->image.Row(y) + page.Stride(), decoded->image.Row(y - 1)));
        }
    }
    EXPECT_GE(decoded->damagedLines, 1u);
    EXPECT_LE(differing, 2u);
    EXPECT_LE(decoded->damagedLines, 2u);
}

TEST(MhDamage, TruncatedPagesGiveTheLinesBeforeTheCut) {
    const BilevelImage page = mh::TypedLetterPage();
    for (const MhEncodeOptions& options : kFramings) {
        const std::vector<uint8_t> coded = EncodeMh(page, options);
        for (size_t keep : {coded.size() / 3, coded.size() / 2 + 1, coded.size() - 5}) {
            auto decoded = kdm::DecodeMh(std::span(coded).first(keep), 1);
            ASSERT_TRUE(decoded) << Describe(options) << " " << keep;
            ASSERT_LE(decoded->image.height, page.height);  // a cut inside RTC loses no line
            EXPECT_EQ(decoded->damagedLines, 0u);
            for (uint32_t y = 0; y < decoded->image.height; ++y) {
                ASSERT_TRUE(std::equal(page.Row(y), page.Row(y) + page.Stride(), decoded->image.Row(y))) << y;
            }
        }
    }
}

}  // namespace
