#pragma once
#include "companions/kdmlib/core/BmpFile.h"
#include "companions/kdmlib/core/PageImages.h"

namespace kdm {

// An anti-aliased grey rendition of a bilevel page, the same size: each pixel becomes the 1-2-1 weighted mean of
// its 3 x 3 neighbourhood (outside the page counts as colour 0), shaded between the luminances of the two colours.
GreyImage SmoothPage(const BilevelImage& page, const BilevelColours& colours, const ProgressFn& progress = {});

}  // namespace kdm
