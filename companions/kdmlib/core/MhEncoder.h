#pragma once
#include <cstdint>
#include <vector>

#include "companions/kdmlib/core/PageImages.h"

// Modified Huffman (ITU-T T.4 one-dimensional) coding of bilevel pages: the scanner stand-in's scan file, the
// tools' test faxes and the demo.
namespace mh {

using kdm::BilevelImage;

struct MhEncodeOptions {
    bool eol = true;        // an EOL before every line, as T.4 has it
    bool fillBits = false;  // zero bits before each EOL so that it ends on a byte boundary
    bool rtc = true;        // six EOLs after the last line
};

// MSB-first bit order; the last byte is padded with zero bits.
std::vector<uint8_t> EncodeMh(const BilevelImage& page, const MhEncodeOptions& options = {});

}  // namespace mh
