#include <gtest/gtest.h>

#include "companions/kdmlib/core/MhDecoder.h"
#include "tools/mh/LibtiffG3.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"

// Our codec against another T.4 implementation: pages coded by libtiff decode exactly, and libtiff decodes ours.
namespace {

using kdm::BilevelImage;

std::vector<BilevelImage> Pages() {
    BilevelImage runs(1728, 1729);
    for (uint32_t r = 0; r <= 1728; ++r) {
        for (uint32_t x = r; x < 1728; ++x) {
            runs.SetBlack(x, r);
        }
    }
    return {mh::TypedLetterPage(),
            mh::CoverPage(mh::kA4StandardRows),
            mh::HalftonePage(500),
            mh::RandomPage(1728, 200, 40, 11),
            mh::RandomPage(2432, 100, 5, 12),
            runs};
}

TEST(LibtiffCrossCheck, OurDecoderReadsLibtiffsG3) {
    for (bool fill : {false, true}) {
        for (const BilevelImage& page : Pages()) {
            const std::vector<uint8_t> strip = mh::LibtiffG3Strip(page, fill);
            ASSERT_FALSE(strip.empty());
            auto decoded = kdm::DecodeMh(strip, 0);
            ASSERT_TRUE(decoded) << page.width << " fill " << fill;
            EXPECT_EQ(decoded->damagedLines, 0u);
            EXPECT_TRUE(decoded->image == page) << page.width << "x" << page.height << " fill " << fill;
        }
    }
}

TEST(LibtiffCrossCheck, LibtiffReadsOurCoding) {
    for (bool fill : {false, true}) {
        for (const BilevelImage& page : Pages()) {
            const std::vector<uint8_t> coded = mh::EncodeMh(page, {true, fill, true});
            mh::LibtiffG3Reader reader(mh::LibtiffG3FileFromStrip(page.width, page.height, coded, fill));
            ASSERT_TRUE(reader.ok());
            EXPECT_TRUE(reader.DecodeImage() == page) << page.width << "x" << page.height << " fill " << fill;
        }
    }
}

}  // namespace
