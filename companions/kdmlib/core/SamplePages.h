#pragma once
#include <cstdint>

#include "companions/kdmlib/core/PageImages.h"

// Synthetic A4 pages (1728 pixels wide) of the kinds a fax carries: the scanner stand-in's test sheets, and pages
// for tests, benchmarks and the demo.
// The same arguments always draw the same page.
namespace mh {

using kdm::BilevelImage;

inline constexpr uint32_t kA4Width = 1728;
inline constexpr uint32_t kA4FineRows = 2287;
inline constexpr uint32_t kA4StandardRows = 1143;

// About 50 lines of pseudo-text: glyph-sized blobs of strokes in words, with margins and paragraph breaks.
BilevelImage TypedLetterPage(uint32_t rows = kA4FineRows);
// A frame, a heading block and a few short lines: mostly white.
BilevelImage CoverPage(uint32_t rows = kA4FineRows);
// An order form: a heading, a ruled table of eight rows and four columns with some entries, tick boxes and a
// line to sign on: long runs of rules crossing short runs of text.
BilevelImage FormPage(uint32_t rows = kA4FineRows);
// A photograph-like grey field dithered by error diffusion: short runs everywhere, codes larger than raw.
BilevelImage HalftonePage(uint32_t rows = kA4FineRows);
// The scanner's photograph test sheet: a landscape (sky with sun and clouds, two ranges of hills, a lake, a pine
// on the near shore) on white paper, dithered by error diffusion. Drawn in integers: the same pixels everywhere.
BilevelImage PhotographPage(uint32_t rows = kA4FineRows);
// Each pixel black with the given probability in percent.
BilevelImage RandomPage(uint32_t width, uint32_t rows, unsigned blackPercent, uint32_t seed);

}  // namespace mh
