// Coded page data as a receiver or a damaged file gives it, with every decodeParam width choice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "companions/kdmlib/core/MhDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint32_t decodeParam = data[0];
    unsigned last = 0;
    bool finished = false;
    auto page = kdm::DecodeMh({data + 1, size - 1}, decodeParam, [&](unsigned percent) {
        if (percent > 100 || percent < last || finished) {
            std::abort();
        }
        finished = percent == 100;
        last = percent;
    });
    if (!finished) {
        std::abort();
    }
    if (page && (page->image.height > kdm::kMaxPageRows || page->image.height > size - 1 ||
                 page->image.bits.size() != page->image.Stride() * page->image.height)) {
        std::abort();
    }
    return 0;
}
