#pragma once
#include "companions/twain/core/ScanPages.h"

// The scanner's built-in test sheets, in turn: a typed business letter (set in the system's Chinese font), an
// order form with a ruled table and tick boxes, and a photograph dithered to black and white.
kdm::BilevelImage TestSheet(unsigned index, scan::Resolution resolution);
