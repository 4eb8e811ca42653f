#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "companions/kdmlib/core/PageImages.h"

// libtiff's CCITT Group 3 one-dimensional codec, as the peer our codec is checked and timed against.
namespace mh {

using kdm::BilevelImage;

// A one-strip TIFF file in memory, Compression 3, 1-D, MSB-first, 0 = white, with or without fill bits.
std::vector<uint8_t> LibtiffG3File(const BilevelImage& page, bool fillBits);
// The same kind of file holding already coded MH data as its strip.
std::vector<uint8_t> LibtiffG3FileFromStrip(uint32_t width,
                                            uint32_t height,
                                            std::span<const uint8_t> coded,
                                            bool fillBits);
// The coded strip of a file made by LibtiffG3File: the page as MH data.
std::vector<uint8_t> LibtiffG3Strip(const BilevelImage& page, bool fillBits);

// Encodes a page into the strip of a new one-strip G3 TIFF in memory: Open, then one TIFFWriteEncodedStrip in
// Write, then Close, so that the coding alone can be timed. The rows are laid out for libtiff once, up front.
class LibtiffG3Encoder {
public:
    LibtiffG3Encoder(const BilevelImage& page, bool fillBits);
    ~LibtiffG3Encoder();
    LibtiffG3Encoder(const LibtiffG3Encoder&) = delete;
    LibtiffG3Encoder& operator=(const LibtiffG3Encoder&) = delete;

    void Open();
    // False when libtiff reports an error.
    bool Write();
    // The whole TIFF file written.
    const std::vector<uint8_t>& Close();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Decodes the strip of a one-strip G3 TIFF in memory, again and again.
class LibtiffG3Reader {
public:
    explicit LibtiffG3Reader(std::vector<uint8_t> tiffFile);
    ~LibtiffG3Reader();
    LibtiffG3Reader(const LibtiffG3Reader&) = delete;
    LibtiffG3Reader& operator=(const LibtiffG3Reader&) = delete;

    bool ok() const { return tiff_ != nullptr; }
    // Decodes into top-down packed rows; false when libtiff reports an error.
    bool Decode(std::vector<uint8_t>& rows);
    // The decoded page, in our layout.
    BilevelImage DecodeImage();

    struct Memory;

private:
    std::unique_ptr<Memory> memory_;
    void* tiff_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
};

}  // namespace mh
