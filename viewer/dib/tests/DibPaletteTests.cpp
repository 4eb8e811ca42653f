#include <windows.h>

#include <gtest/gtest.h>

#include "viewer/dib/DibPalette.h"
#include "viewer/dib/core/tests/DibTestBytes.h"
#include "viewer/dib/tests/DibTestBlocks.h"

namespace {
std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
    std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
    GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
    return entries;
}
}  // namespace

TEST(CreateDibPalette, TakesRedGreenBlueFromFourByteEntries) {
    auto dib = MakeInfoDib({.bitCount = 8, .clrUsed = 2});
    const uint8_t table[] = {0x10, 0x20, 0x30, 0x99, 0xF0, 0xE0, 0xD0, 0x99};
    std::copy(std::begin(table), std::end(table), dib.begin() + 40);
    auto block = BlockOf(dib);
    CPaletteHandle palette;
    ASSERT_TRUE(CreateDibPalette(block.Get(), palette));
    const auto entries = Entries(palette.Get());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(RGB(entries[1].peRed, entries[1].peGreen, entries[1].peBlue), RGB(0xD0, 0xE0, 0xF0));
    EXPECT_EQ(entries[0].peFlags, 0);
    EXPECT_EQ(entries[1].peFlags, 0);
}

TEST(CreateDibPalette, TakesRedGreenBlueFromThreeByteEntriesOfTheCoreHeader) {
    auto dib = MakeCoreDib(8, 2, 4);
    auto block = BlockOf(dib);
    CPaletteHandle palette;
    ASSERT_TRUE(CreateDibPalette(block.Get(), palette));
    const auto entries = Entries(palette.Get());
    ASSERT_EQ(entries.size(), 16u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint8_t* triple = &dib[12 + 3 * i];
        EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), RGB(triple[2], triple[1], triple[0]))
            << i;
    }
}

TEST(CreateDibPalette, FailsWithoutAColourTableAndLeavesThePaletteAlone) {
    CPaletteHandle palette;
    auto mono = BlockOf(MakeInfoDib({.bitCount = 1}));
    ASSERT_TRUE(CreateDibPalette(mono.Get(), palette));
    const HPALETTE first = palette.Get();

    auto trueColour = BlockOf(MakeInfoDib({.bitCount = 24}));
    EXPECT_FALSE(CreateDibPalette(trueColour.Get(), palette));
    auto bitFields = BlockOf(MakeInfoDib({.bitCount = 32, .compression = 3}));
    EXPECT_FALSE(CreateDibPalette(bitFields.Get(), palette));
    EXPECT_FALSE(CreateDibPalette(nullptr, palette));
    auto dib = MakeInfoDib({.bitCount = 8});
    dib.resize(40 + 1023);  // the colour table is cut short
    auto damaged = BlockOf(dib);
    EXPECT_FALSE(CreateDibPalette(damaged.Get(), palette));
    EXPECT_EQ(palette.Get(), first);
}
