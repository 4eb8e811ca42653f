// BMP images handed to the library's stretch, rotation and smoothing.
#include <cstddef>
#include <cstdint>

#include "companions/kdmlib/core/BmpFile.h"
#include "companions/kdmlib/core/Rotate.h"
#include "companions/kdmlib/core/Smooth.h"
#include "companions/kdmlib/core/Stretch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto bmp = kdm::ReadBilevelBmp({data, size});
    if (!bmp) {
        return 0;
    }
    kdm::StretchPage(bmp->image, 0);
    kdm::RotatePage(bmp->image, 90);
    kdm::RotatePage(bmp->image, 180);
    kdm::SmoothPage(bmp->image, bmp->colours);
    return 0;
}
