#include <gtest/gtest.h>

#include "tools/szdd/core/Szdd.h"
#include "tools/szdd/tests/SzddSamples.h"

namespace {

using szdd_test::Sample;

std::optional<std::vector<uint8_t>> Expand(const std::vector<uint8_t>& compressed) {
    return szdd::Expand(compressed.data(), compressed.size());
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, char lastChar = 'E') {
    return szdd::Compress(data.data(), data.size(), lastChar);
}

std::vector<uint8_t> Header(uint32_t length, uint8_t lastChar = 'E') {
    std::vector<uint8_t> header = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', lastChar};
    for (int i = 0; i < 4; ++i)
        header.push_back(static_cast<uint8_t>(length >> (8 * i)));
    return header;
}

TEST(SzddCompress, EverySampleExpandsToItself) {
    for (const Sample& sample : szdd_test::Samples()) {
        const std::vector<uint8_t> compressed = Compress(sample.bytes);
        EXPECT_LE(compressed.size(), szdd::kHeaderSize + sample.bytes.size() * 9 / 8 + 1) << sample.name;
        EXPECT_EQ(Expand(compressed), sample.bytes) << sample.name;
    }
}

TEST(SzddCompress, HeaderKeepsTheNamesLastCharacterAndTheLength) {
    const std::vector<uint8_t> compressed = Compress(szdd_test::Noise(0x010203, 5), 'L');
    EXPECT_EQ(std::vector<uint8_t>(compressed.begin(), compressed.begin() + szdd::kHeaderSize), Header(0x010203, 'L'));
    EXPECT_EQ(Compress({}, '\0'), Header(0, 0));
}

// 8 matches of 18 bytes behind a flag byte are the format's best; the window's spaces serve from the first byte.
TEST(SzddCompress, RunsTakeLongestMatchesFromTheStart) {
    for (uint8_t fill : {uint8_t{0}, uint8_t{' '}}) {
        const std::vector<uint8_t> compressed = Compress(std::vector<uint8_t>(144000, fill));
        EXPECT_LE(compressed.size(), szdd::kHeaderSize + 17000 + 2) << int{fill};
    }
    const std::vector<uint8_t> spaces = Compress(std::vector<uint8_t>(18, ' '));
    EXPECT_EQ(spaces.size(), szdd::kHeaderSize + 3) << "one flag byte and one match";
}

// The expander against streams made elsewhere, so that both directions do not share one mistake.
TEST(SzddExpand, ReadsStreamsOfOtherCompressors) {
    // mscompress on "hello hello hello world\n": a match at slot 0xFF0, where the first byte went, that overlaps
    // its own output.
    std::vector<uint8_t> hello = Header(24);
    hello.insert(hello.end(), {0xBF, 'h', 'e', 'l', 'l', 'o', ' ', 0xF0, 0xF9, 'w', 0x1F, 'o', 'r', 'l', 'd', '\n'});
    const std::string text = "hello hello hello world\n";
    EXPECT_EQ(Expand(hello), std::vector<uint8_t>(text.begin(), text.end()));

    // A match from slots never written reads the initial spaces, wherever in the window they are.
    std::vector<uint8_t> spaces = Header(6);
    spaces.insert(spaces.end(), {0x01, 'x', 0x00, 0x02});
    EXPECT_EQ(Expand(spaces), (std::vector<uint8_t>{'x', ' ', ' ', ' ', ' ', ' '}));

    // mscompress ends an empty file with a filler item, and lz32 expands it to one byte: the file is wrong.
    std::vector<uint8_t> empty = Header(0);
    empty.insert(empty.end(), {0x01, 0x00});
    EXPECT_FALSE(Expand(empty));
}

TEST(SzddExpand, DamagedFilesFail) {
    const std::vector<uint8_t> good = Compress(szdd_test::Text(3000));
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Expand(std::vector<uint8_t>(good.begin(), good.begin() + n))) << "cut to " << n;
    // Magic, method, and a length the stream does not give exactly.
    for (size_t at : {0, 3, 7, 8, 10}) {
        for (uint8_t flip : {0x01, 0x02}) {
            std::vector<uint8_t> bad = good;
            bad[at] ^= flip;
            EXPECT_FALSE(Expand(bad)) << "byte " << at << " flipped by " << int{flip};
        }
    }
    // A length no stream of this size can yield is refused before anything is allocated for it.
    std::vector<uint8_t> huge = Header(UINT32_MAX);
    huge.insert(huge.end(), 64, 0);
    EXPECT_FALSE(Expand(huge));
    std::vector<uint8_t> bestCase = Header(144);
    bestCase.push_back(0x00);
    for (int i = 0; i < 8; ++i)
        bestCase.insert(bestCase.end(), {0x00, 0x0F});
    EXPECT_EQ(Expand(bestCase), std::vector<uint8_t>(144, ' '));
}

TEST(SzddCompressName, ReplacesTheLastCharacterOrAppendsAsCompressDoes) {
    const struct {
        const char* name;
        const char* compressed;
        char lastChar;
    } cases[] = {
        {"VIEWER.EXE", "VIEWER.EX_", 'E'},
        {"DIALDIR.DLL", "DIALDIR.DL_", 'L'},
        {"readme.txt", "readme.tx_", 't'},
        {"page.html", "page.htm_", 'l'},
        {"A.B", "A.B_", '\0'},
        {"A.BC", "A.BC_", '\0'},
        {"FOO", "FOO._", '\0'},
        {"FOO.", "FOO._", '\0'},
        {"DISK1\\SETUP.INF", "DISK1\\SETUP.IN_", 'F'},
        {"build.dir/NOTES", "build.dir/NOTES._", '\0'},
    };
    for (const auto& c : cases) {
        const szdd::CompressedName result = szdd::CompressName(c.name);
        EXPECT_EQ(result.name, c.compressed) << c.name;
        EXPECT_EQ(result.lastChar, c.lastChar) << c.name;
    }
}

}  // namespace
