#include <cstddef>
#include <cstdint>

#include "companions/twain/core/ScanPages.h"

// A picture from a user's folder: any bytes must give a picture or nothing, and a picture must lie on a page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto picture = scan::ReadPicture({data, size});
    if (picture && picture->width * uint64_t{picture->height} <= 4'000'000)
        scan::PlaceOnPage(*picture, scan::Resolution::kStandard);
    return 0;
}
