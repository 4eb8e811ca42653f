#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "companions/kdmlib/core/PageImages.h"

namespace mh {

// Reads a plain (P1) or raw (P4) portable bitmap; 1 is black, as in a fax page. Gives nothing for anything else
// or for a file shorter than its header says.
std::optional<kdm::BilevelImage> ReadPbm(std::span<const uint8_t> file);

// A page from either kind of file the tools take: a PBM or a 1-bit BMP.
std::optional<kdm::BilevelImage> ReadPageImage(std::span<const uint8_t> file);

}  // namespace mh
