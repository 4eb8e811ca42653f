#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "companions/kdmlib/core/PageImages.h"

namespace kdm {

// Page widths in pixels. decodeParam's low three bits choose one, following the T.30 width conventions:
//   1 = 1728 (A4), 2 = 2048 (B4), 3 = 2432 (A3), 4 = 1216, 5 = 864;
//   0, 6 and 7 = detect: each of those widths is tried on the first lines and the one that decodes them cleanly
//   wins, 1728 when none does. The other bits of decodeParam are not used.
inline constexpr uint32_t kDefaultPageWidth = 1728;
inline constexpr uint32_t kMaxPageRows = 8192;
uint32_t PageWidthFromDecodeParam(uint32_t decodeParam);

struct MhPage {
    BilevelImage image;
    uint32_t damagedLines = 0;  // lines that did not decode and show a copy of the line above instead
};

// Decodes one page of Modified Huffman (T.4 one-dimensional) data, MSB-first bit order, with or without EOLs and
// fill bits. Decoding ends at RTC (two EOLs in a row already count as its start), at the end of the data, or after
// kMaxPageRows rows (and never gives more rows than coded bytes). With EOLs a damaged line is replaced by the line
// above and decoding resumes at the next EOL; without EOLs there is nothing to resume at, so the page ends there.
// Gives nothing when no line decodes.
std::optional<MhPage> DecodeMh(std::span<const uint8_t> coded, uint32_t decodeParam, const ProgressFn& progress = {});

}  // namespace kdm
