#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companions/kdmlib/core/BmpFile.h"
#include "companions/kdmlib/core/MhDecoder.h"

namespace {

using kdm::DecodeMh;

// Code sequences written out from the T.4 tables, bit by bit, so that the decoder is checked against the standard
// rather than against our own encoder.
constexpr const char* kEol = "000000000001";
constexpr const char* kWhiteLine1728 =
    "010011011"
    "00110101";  // make-up 1728, terminating 0

std::vector<uint8_t> Pack(const std::string& bits) {
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] == '1') {
            bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        }
    }
    return bytes;
}

std::string Rtc() {
    std::string rtc;
    for (int i = 0; i < 6; ++i) {
        rtc += kEol;
    }
    return rtc;
}

// Black pixels of one row as runs [from, to).
std::vector<std::pair<uint32_t, uint32_t>> BlackRuns(const kdm::BilevelImage& image, uint32_t y) {
    std::vector<std::pair<uint32_t, uint32_t>> runs;
    for (uint32_t x = 0; x < image.width; ++x) {
        if (image.Black(x, y)) {
            if (runs.empty() || runs.back().second != x) {
                runs.push_back({x, x});
            }
            runs.back().second = x + 1;
        }
    }
    return runs;
}

using Runs = std::vector<std::pair<uint32_t, uint32_t>>;

// The white codes, bit by bit: terminating codes for runs 0 ... 63.
constexpr const char* kWhiteTerminatingCodes[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100"};
// Make-up runs 64 ... 1728, then the ones both colours share, 1792 ... 2560.
constexpr const char* kWhiteMakeUpCodes[40] = {
    "11011",        "10010",        "010111",       "0110111",      "00110110",     "00110111",     "01100100",
    "01100101",     "01101000",     "01100111",     "011001100",    "011001101",    "011010010",    "011010011",
    "011010100",    "011010101",    "011010110",    "011010111",    "011011000",    "011011001",    "011011010",
    "011011011",    "010011000",    "010011001",    "010011010",    "011000",       "010011011",    "00000001000",
    "00000001100",  "00000001101",  "000000010010", "000000010011", "000000010100", "000000010101", "000000010110",
    "000000010111", "000000011100", "000000011101", "000000011110", "000000011111"};
constexpr const char* kBlack1 = "010";

std::string WhiteRun(uint32_t run) {
    std::string code = run >= 64 ? kWhiteMakeUpCodes[run / 64 - 1] : "";
    return code + kWhiteTerminatingCodes[run % 64];
}

TEST(MhDecoderCodes, TerminatingAndMakeUpCodesOfBothColours) {
    std::string data = kEol;
    // white 10, black 5, white 1664 + 49
    data += std::string("00111") + "0011" +
            "011000"
            "01010010" +
            kEol;
    // white 0, black 64 + 0, black is followed by white 1600 + 0 ... then black 1 + white 63 = 1728
    data += std::string("00110101") +
            "0000001111"
            "0000110111" +
            "010011010"
            "00110101" +
            "010" + "00110100" + kEol;
    // black make-up 1728 alone fills the line after white 0
    data += std::string("00110101") +
            "0000001100101"
            "0000110111" +
            Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.width, 1728u);
    ASSERT_EQ(page->image.height, 3u);
    EXPECT_EQ(BlackRuns(page->image, 0), (Runs{{10, 15}}));
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{0, 64}, {1664, 1665}}));
    EXPECT_EQ(BlackRuns(page->image, 2), (Runs{{0, 1728}}));
    EXPECT_EQ(page->damagedLines, 0u);
}

TEST(MhDecoderCodes, ExtendedMakeUpCodesOnWidePages) {
    // 2432 wide: black 1920 + 0, white 512 + 0.
    std::string a3 = std::string(kEol) + "00110101" +
                     "00000001101"
                     "0000110111" +
                     "01100101"
                     "00110101" +
                     Rtc();
    auto page = DecodeMh(Pack(a3), 3);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.width, 2432u);
    EXPECT_EQ(BlackRuns(page->image, 0), (Runs{{0, 1920}}));

    // 2048 wide: white 2048 + 0.
    std::string b4 = std::string(kEol) +
                     "000000010011"
                     "00110101" +
                     kEol +
                     "000000010011"
                     "00110101" +
                     Rtc();
    page = DecodeMh(Pack(b4), 2);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.width, 2048u);
    EXPECT_EQ(page->image.height, 2u);
    EXPECT_EQ(page->damagedLines, 0u);
}

TEST(MhDecoderCodes, ExtendedMakeUpCodesUpTo2432AreTheirRuns) {
    const char* codes[] = {"00000001000",  "00000001100",  "00000001101",  "000000010010", "000000010011",
                           "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
                           "000000011101", "000000011110", "000000011111"};
    for (int i = 0; i < 13; ++i) {
        const uint32_t run = 1792 + 64 * i;
        if (run > 2432) {
            break;
        }
        // white 0, black run + 0, white rest on a 2432 page
        const uint32_t rest = 2432 - run;
        std::string line = std::string(kEol) + "00110101" + codes[i] + "0000110111";
        ASSERT_TRUE(rest == 0 || rest % 64 == 0);
        const char* whiteMakeUp[] = {"",         "11011",    "10010",    "010111",   "0110111", "00110110",
                                     "00110111", "01100100", "01100101", "01101000", "01100111"};
        if (rest > 0) {
            line += std::string(whiteMakeUp[rest / 64]) + "00110101";
        }
        auto page = DecodeMh(Pack(line + Rtc()), 3);
        ASSERT_TRUE(page) << run;
        EXPECT_EQ(BlackRuns(page->image, 0), (Runs{{0, run}})) << run;
    }
}

// Each white run length on its own line, once where the line goes on after it and once where it ends the line,
// so that every make-up and terminating code pair meets both the middle and the end of a line.
TEST(MhDecoderCodes, EveryWhiteRunLengthAtTheStartAndAtTheEndOfALine) {
    for (const auto& [param, width] : {std::pair{1u, 1728u}, std::pair{3u, 2432u}}) {
        for (bool eols : {true, false}) {
            std::string data;
            for (uint32_t run = 0; run < width; ++run) {
                // A line that the black pixel ends has no white run after it.
                const std::string after = run + 1 < width ? WhiteRun(width - 1 - run) : "";
                data += (eols ? kEol : "") + WhiteRun(run) + kBlack1 + after;
            }
            auto page = DecodeMh(Pack(data + Rtc()), param);
            ASSERT_TRUE(page);
            ASSERT_EQ(page->image.height, width) << width << eols;
            EXPECT_EQ(page->damagedLines, 0u);
            for (uint32_t y = 0; y < width; ++y) {
                ASSERT_EQ(BlackRuns(page->image, y), (Runs{{y, y + 1}})) << width << eols << " white run " << y;
            }
        }
    }
}

TEST(MhDecoderCodes, AWhiteRunPastTheEndOfTheLineIsDamage) {
    // white 1608, black 1, then white 64 + 55 or 64 + 56: the second overshoots 1728 by one.
    const std::string head = WhiteRun(1608) + kBlack1;
    std::string data = kEol + head + WhiteRun(119) + kEol + head + WhiteRun(120) + kEol + kWhiteLine1728 + Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.height, 3u);
    EXPECT_EQ(page->damagedLines, 1u);
    EXPECT_EQ(BlackRuns(page->image, 0), (Runs{{1608, 1609}}));
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{1608, 1609}}));
    EXPECT_EQ(BlackRuns(page->image, 2), Runs{});

    // A make-up code longer than the line is damage as soon as it is read, even where the data ends in the middle
    // of the code after it (1, completed to 1000 = white 3 only by the zeros past the end).
    data = std::string("00000") + kEol +
           "011010010"
           "00011011" +
           kEol +
           "010011011"
           "1";
    ASSERT_EQ(data.size() % 8, 0u);
    page = DecodeMh(Pack(data), 5);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 2u);
    EXPECT_EQ(page->damagedLines, 1u);
}

TEST(MhDecoderCodes, MakeUpCodesInARowAddUp) {
    // white 64 + 64 + 0, black 1, white 1599; then white 1664 + 64 + 0 is a blank line.
    std::string data = std::string(kEol) +
                       "11011"
                       "11011"
                       "00110101" +
                       kBlack1 + WhiteRun(1599) + kEol + "011000" +
                       "11011"
                       "00110101" +
                       Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.height, 2u);
    EXPECT_EQ(page->damagedLines, 0u);
    EXPECT_EQ(BlackRuns(page->image, 0), (Runs{{128, 129}}));
    EXPECT_EQ(BlackRuns(page->image, 1), Runs{});
}

// A blank line coded as one make-up and one terminating code for the whole width is the common line of a page.
TEST(MhDecoderCodes, BlankLinesAndLinesThatOnlyStartLikeOne) {
    const std::string blackLine = std::string("00110101") +
                                  "0000001100101"
                                  "0000110111";
    // The make-up code of a blank line with another terminating code after it: one white pixel too many.
    std::string data = kEol + blackLine + kEol + "010011011" + "000111" + kEol + kWhiteLine1728 + kEol + blackLine +
                       kEol + kWhiteLine1728 + "1" + kEol + kWhiteLine1728 + Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.height, 6u);
    EXPECT_EQ(page->damagedLines, 2u);
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{0, 1728}})) << "a damaged line repeats the one above";
    EXPECT_EQ(BlackRuns(page->image, 2), Runs{});
    EXPECT_EQ(BlackRuns(page->image, 4), (Runs{{0, 1728}})) << "a blank line not followed by an EOL is damage";
    EXPECT_EQ(BlackRuns(page->image, 5), Runs{});

    // On an 864 page the blank line is 832 + 32; 832 + 31 and a black pixel is not blank, nor is 1728 + 0 a line.
    data = std::string(kEol) +
           "011010010"
           "00011011" +
           kEol +
           "011010010"
           "00011010" +
           kBlack1 + kEol + kWhiteLine1728 + kEol +
           "011010010"
           "00011011" +
           Rtc();
    page = DecodeMh(Pack(data), 5);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.width, 864u);
    ASSERT_EQ(page->image.height, 4u);
    EXPECT_EQ(page->damagedLines, 1u);
    EXPECT_EQ(BlackRuns(page->image, 0), Runs{});
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{863, 864}}));
    EXPECT_EQ(BlackRuns(page->image, 2), (Runs{{863, 864}}));
    EXPECT_EQ(BlackRuns(page->image, 3), Runs{});

    // Blank lines of the wide pages use the extended make-up codes; without EOLs as well.
    for (const auto& [param, width] : {std::pair{2u, 2048u}, std::pair{3u, 2432u}, std::pair{4u, 1216u}}) {
        for (bool eols : {true, false}) {
            const std::string eol = eols ? kEol : "";
            data = eol + WhiteRun(width) + eol + WhiteRun(width - 1) + kBlack1 + eol + WhiteRun(width) + Rtc();
            page = DecodeMh(Pack(data), param);
            ASSERT_TRUE(page) << width;
            ASSERT_EQ(page->image.height, 3u) << width;
            EXPECT_EQ(page->damagedLines, 0u) << width;
            EXPECT_EQ(BlackRuns(page->image, 0), Runs{}) << width;
            EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{width - 1, width}})) << width;
            EXPECT_EQ(BlackRuns(page->image, 2), Runs{}) << width;
        }
    }
}

TEST(MhDecoderFraming, AcceptsFillBitsMissingEolsAndMissingRtc) {
    // Fill bits of any length before EOLs.
    std::string filled = std::string("0000") + kEol + kWhiteLine1728 + "0000000" + kEol +
                         "00111"
                         "0011"
                         "011000"
                         "01010010" +
                         "000" + Rtc();
    auto page = DecodeMh(Pack(filled), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 2u);
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{10, 15}}));

    // No EOLs and no RTC at all: the lines end where the runs add up to the width.
    std::string bare = std::string(kWhiteLine1728) +
                       "00111"
                       "0011"
                       "011000"
                       "01010010" +
                       kWhiteLine1728;
    page = DecodeMh(Pack(bare), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 3u);
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{10, 15}}));
    EXPECT_EQ(page->damagedLines, 0u);
}

// Fill longer than the bits the reader holds at a time, at every bit offset, also in the last bytes of the data.
TEST(MhDecoderFraming, LongFillBeforeAnEol) {
    const std::string marked = std::string("00111") +
                               "0011"
                               "011000"
                               "01010010";
    for (uint32_t offset = 0; offset < 8; ++offset) {
        for (uint32_t fill = 40; fill <= 140; ++fill) {
            for (bool rtc : {true, false}) {
                std::string data = std::string(offset, '0') + kEol + kWhiteLine1728 + std::string(fill, '0') + kEol +
                                   marked + (rtc ? Rtc() : "");
                auto page = DecodeMh(Pack(data), 1);
                ASSERT_TRUE(page);
                ASSERT_EQ(page->image.height, 2u) << offset << " " << fill << " " << rtc;
                EXPECT_EQ(page->damagedLines, 0u) << offset << " " << fill << " " << rtc;
                EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{10, 15}})) << offset << " " << fill << " " << rtc;

                // After a line that stops short, at what looks like fill: the fill is not the end of the data.
                data = std::string(offset, '0') + kEol +
                       "00111"
                       "0011" +
                       std::string(fill, '0') + kEol + marked + (rtc ? Rtc() : "");
                page = DecodeMh(Pack(data), 1);
                ASSERT_TRUE(page) << offset << " " << fill << " " << rtc;
                ASSERT_EQ(page->image.height, 2u) << offset << " " << fill << " " << rtc;
                EXPECT_EQ(page->damagedLines, 1u) << offset << " " << fill << " " << rtc;
                EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{10, 15}})) << offset << " " << fill << " " << rtc;
            }
        }
    }
}

// A line that stops at what looks like fill was cut off by the end of the data only if nothing but zeros follows,
// however many.
TEST(MhDecoderDamage, ALineStoppedByFillIsCutOffOnlyIfNothingButZerosFollows) {
    for (uint32_t offset = 0; offset < 8; ++offset) {
        for (uint32_t fill = 12; fill <= 140; ++fill) {
            const std::string data = std::string(offset, '0') + kEol + kWhiteLine1728 + kEol +
                                     "00111"
                                     "0011" +
                                     std::string(fill, '0');
            auto page = DecodeMh(Pack(data), 1);
            ASSERT_TRUE(page);
            EXPECT_EQ(page->image.height, 1u) << offset << " " << fill;
            EXPECT_EQ(page->damagedLines, 0u) << offset << " " << fill;

            page = DecodeMh(Pack(data + "1"), 1);
            ASSERT_TRUE(page);
            EXPECT_EQ(page->image.height, 2u) << offset << " " << fill;
            EXPECT_EQ(page->damagedLines, 1u) << offset << " " << fill;
        }
    }
}

TEST(MhDecoderFraming, StopsAtRtcAndIgnoresWhatFollows) {
    std::string data = std::string(kEol) + kWhiteLine1728 + Rtc() + kEol +
                       "00111"
                       "0011"
                       "011000"
                       "01010010";
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 1u);
}

TEST(MhDecoderFraming, TheFirstLineIsTheTopOfThePageAndTheLastRowOfItsBmp) {
    std::string data = std::string(kEol) +
                       "00110101"
                       "0000001100101"
                       "0000110111" +
                       kEol + kWhiteLine1728 + Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.height, 2u);
    EXPECT_EQ(page->image.Row(0)[0], 0xFF);
    EXPECT_EQ(page->image.Row(1)[0], 0x00);
    const std::vector<uint8_t> bmp = kdm::BilevelBmpFile(page->image);
    const size_t pixels = kdm::kBmpFileHeaderSize + kdm::kBmpInfoHeaderSize + 8;
    EXPECT_EQ(bmp[pixels], 0x00) << "the bottom row comes first in a BMP";
    EXPECT_EQ(bmp[pixels + 216], 0xFF);
}

TEST(MhDecoderWidth, DetectsTheWidthWhenAskedTo) {
    std::string b4 = std::string(kEol) +
                     "000000010011"
                     "00110101" +
                     kEol +
                     "00111"
                     "0011"
                     "000000010010"
                     "01010010" +
                     Rtc();  // white 10, black 5, white 1984 + 49 = 2048
    for (uint32_t param : {0u, 6u, 7u, 0x100u}) {
        auto page = DecodeMh(Pack(b4), param);
        ASSERT_TRUE(page) << param;
        EXPECT_EQ(page->image.width, 2048u) << param;
        EXPECT_EQ(page->damagedLines, 0u) << param;
    }
    // Without EOLs as well.
    std::string bare = std::string("000000011101") + "00110101" +
                       "000000011101"
                       "00110101";
    auto page = DecodeMh(Pack(bare), 0);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.width, 2432u);
    EXPECT_EQ(page->image.height, 2u);

    EXPECT_EQ(kdm::PageWidthFromDecodeParam(4), 1216u);
    EXPECT_EQ(kdm::PageWidthFromDecodeParam(5), 864u);
    EXPECT_EQ(kdm::PageWidthFromDecodeParam(0x11), 1728u);
}

TEST(MhDecoderWidth, LinesOfTheWrongWidthAreDamage) {
    // A 2048 line on a page declared 1728 wide overflows.
    std::string data = std::string(kEol) + kWhiteLine1728 + kEol +
                       "000000010011"
                       "00110101" +
                       kEol +
                       "00111"
                       "0011"
                       "011000"
                       "01010010" +
                       Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.height, 3u);
    EXPECT_EQ(page->damagedLines, 1u);
    EXPECT_EQ(BlackRuns(page->image, 2), (Runs{{10, 15}}));
}

TEST(MhDecoderDamage, ADamagedLineRepeatsTheLineAboveAndDecodingResumesAtTheNextEol) {
    const std::string blackLine = std::string("00110101") +
                                  "0000001100101"
                                  "0000110111";
    const std::string marked = std::string("00111") +
                               "0011"
                               "011000"
                               "01010010";
    // Line 2 holds a code that exists in neither table (white 00000000 1...), line 3 is short (EOL too early),
    // line 4 adds up but is not followed by an EOL.
    std::string data = std::string(kEol) + blackLine + kEol +
                       "00111"
                       "000000001"
                       "1111" +
                       kEol +
                       "00111"
                       "0011" +
                       kEol + marked + "1011" + kEol + marked + Rtc();
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->image.height, 5u);
    EXPECT_EQ(page->damagedLines, 3u);
    for (uint32_t y = 0; y < 4; ++y) {
        EXPECT_EQ(BlackRuns(page->image, y), (Runs{{0, 1728}})) << y;
    }
    EXPECT_EQ(BlackRuns(page->image, 4), (Runs{{10, 15}}));
}

TEST(MhDecoderDamage, WithoutEolsThePageEndsAtTheDamage) {
    std::string data = std::string("00111") +
                       "0011"
                       "011000"
                       "01010010" +
                       "00111"
                       "000000001111" +
                       kWhiteLine1728;
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 2u);
    EXPECT_EQ(page->damagedLines, 1u);
    EXPECT_EQ(BlackRuns(page->image, 1), (Runs{{10, 15}}));
}

TEST(MhDecoderDamage, NothingDecodableGivesNothing) {
    EXPECT_FALSE(DecodeMh({}, 1));
    EXPECT_FALSE(DecodeMh(Pack(Rtc()), 1));
    EXPECT_FALSE(DecodeMh(Pack(std::string(kEol) + "000000001111111111"), 0));
    const std::vector<uint8_t> zeros(5000, 0);
    EXPECT_FALSE(DecodeMh(zeros, 1));
}

TEST(MhDecoderDamage, ATruncatedLastLineIsDropped) {
    std::string data = std::string(kEol) + kWhiteLine1728 + kEol +
                       "00111"
                       "0011"
                       "011000";
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 1u);
    // A code completed only by the zeros read past the end does not finish a line: here "01" would be white 11,
    // the run that ends the line, if "000" followed.
    data = std::string(kEol) + kWhiteLine1728 + "0000" + kEol +
           "00111"
           "0011"
           "011000"
           "00010111"
           "0000110111"
           "01";
    ASSERT_EQ(data.size() % 8, 0u);
    page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 1u);
    page = DecodeMh(Pack(data + "000"), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, 2u);
}

TEST(MhDecoderLimits, RowsAreBounded) {
    std::string line = std::string(kEol) + kWhiteLine1728;
    std::string data;
    for (int i = 0; i < 9000; ++i) {
        data += line;
    }
    auto page = DecodeMh(Pack(data), 1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.height, kdm::kMaxPageRows);
    EXPECT_EQ(page->image.bits.size(), 216u * kdm::kMaxPageRows);
}

TEST(MhDecoderProgress, RisesAndEndsAtOneHundred) {
    std::string data;
    for (int i = 0; i < 500; ++i) {
        data += std::string(kEol) + kWhiteLine1728;
    }
    std::vector<unsigned> seen;
    auto page = DecodeMh(Pack(data + Rtc()), 1, [&seen](unsigned p) { seen.push_back(p); });
    ASSERT_TRUE(page);
    ASSERT_GE(seen.size(), 10u);
    EXPECT_EQ(seen.front(), 0u);
    EXPECT_EQ(seen.back(), 100u);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_LT(seen[i - 1], seen[i]);
    }
    seen.clear();
    EXPECT_FALSE(DecodeMh({}, 1, [&seen](unsigned p) { seen.push_back(p); }));
    EXPECT_EQ(seen, std::vector<unsigned>{100});
}

}  // namespace
