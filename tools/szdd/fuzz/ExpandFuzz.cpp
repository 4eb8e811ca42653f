// Distribution files as a damaged disk or a hostile one gives them; and any bytes must survive a round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tools/szdd/core/Szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // No stream yields more than nine times its size.
    const auto expanded = szdd::Expand(data, size);
    if (expanded && expanded->size() > 9 * size)
        std::abort();
    const auto compressed = szdd::Compress(data, size, 'x');
    const auto restored = szdd::Expand(compressed.data(), compressed.size());
    if (!restored || *restored != std::vector<uint8_t>(data, data + size))
        std::abort();
    return 0;
}
