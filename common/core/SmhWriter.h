#pragma once
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "common/core/SmhFormat.h"

// Builds SMH documents: the scanner's scan file, and for tests and the demo documents valid or deliberately
// broken: every header field is the caller's, and each page can lie about its sizes.
struct SmhPageSpec {
    SmhPageSpec(std::vector<uint8_t> data = {}, uint32_t gap = 0, std::optional<uint32_t> advance = std::nullopt)
        : coded(std::move(data)), gapBytes(gap), advanceBytes(advance) {}

    std::vector<uint8_t> coded;
    uint32_t gapBytes = 0;
    std::optional<uint32_t> advanceBytes;     // default: the coded data's length
    std::optional<uint32_t> codedBytesField;  // default: the coded data's length
};

// A header for a fine (or standard) resolution fax with `pages` pages, format 1, received kind 1.
SmhFileHeader MakeSmhHeader(uint32_t pages, bool standardResolution = false);

// Lays the pages out after the header: page header, gapBytes filler, coded data, then filler up to advanceBytes.
// The header is written as given (pageCount included).
std::vector<uint8_t> BuildSmhDocument(const SmhFileHeader& header, const std::vector<SmhPageSpec>& pages);
