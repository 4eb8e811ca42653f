#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "companions/kdmlib/core/PageImages.h"

// What the scanner stand-in puts on its glass and what it makes of it: A4 pages of 1728 pixels' width, scanned
// at the fax's standard (98 lines per inch, 1143 rows) or fine resolution (196, 2287 rows).
namespace scan {

enum class Resolution { kStandard, kFine };

uint32_t PageRows(Resolution resolution);

// A page drawn at fine resolution as the scanner takes it at standard: each pair of rows as one, black where
// either is; an odd last row is left out (an A4 page is 2287 fine rows, 1143 standard ones).
kdm::BilevelImage StandardFromFine(const kdm::BilevelImage& fine);

// A picture file from a folder the user picked: an uncompressed BMP of 1, 4, 8, 24 or 32 bits, or a PBM.
// Colours below half brightness become black. Every size is checked against the file before a pixel is read;
// anything else, or anything damaged, gives nothing.
std::optional<kdm::BilevelImage> ReadPicture(std::span<const uint8_t> file);

// The picture laid on a page, top left, scaled down or up to the page's width or height, whichever it reaches
// first; the rest of the page white.
kdm::BilevelImage PlaceOnPage(const kdm::BilevelImage& picture, Resolution resolution);

// A scanned page as the application receives it: a packed bitmap (info header, white and black, rows bottom-up)
// with square pixels, a standard page's rows shown twice as a fax machine prints them.
std::vector<uint8_t> DeliveredBitmap(const kdm::BilevelImage& scanned, Resolution resolution);

struct ScannedPage {
    kdm::BilevelImage image;
    Resolution resolution;
};

// The scan file: the pages as scanned, MH coded, in an SMH document of their resolution. The document has one
// resolution for all pages: when standard and fine pages are mixed, standard pages are stored fine, each row
// twice, as they were shown.
std::vector<uint8_t> ScanFile(const std::vector<ScannedPage>& scanned);

}  // namespace scan
