#pragma once
#include <optional>

#include "companions/kdmlib/core/PageImages.h"

namespace kdm {

// The page header's stretch selector holds the page's vertical resolution in lines per inch: 100 for a standard
// page (about 98 lines per inch, half the horizontal 204 dpi) and 200 for a fine one. Display wants square pixels.
enum class StretchMode : uint32_t {
    DoubleRows = 0,  // a standard page: every row twice, giving the proportions of a fine page
    AsIs = 1,        // a fine page is square already
};

// Gives nothing for a mode other than the two above. A page kept as it is is the one passed in, not a copy.
std::optional<BilevelImage> StretchPage(BilevelImage page, uint32_t mode);

}  // namespace kdm
