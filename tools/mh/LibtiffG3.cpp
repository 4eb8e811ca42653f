#include "tools/mh/LibtiffG3.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>

namespace mh {

struct LibtiffG3Reader::Memory {
    std::vector<uint8_t> bytes;
    toff_t pos = 0;
};

namespace {

using Memory = LibtiffG3Reader::Memory;

tsize_t ReadProc(thandle_t h, tdata_t buf, tsize_t size) {
    auto* m = static_cast<Memory*>(h);
    const toff_t n =
        std::min<toff_t>(static_cast<toff_t>(size), m->pos < m->bytes.size() ? m->bytes.size() - m->pos : 0);
    std::memcpy(buf, m->bytes.data() + m->pos, n);
    m->pos += n;
    return static_cast<tsize_t>(n);
}
tsize_t WriteProc(thandle_t h, tdata_t buf, tsize_t size) {
    auto* m = static_cast<Memory*>(h);
    if (m->pos + size > m->bytes.size()) {
        m->bytes.resize(m->pos + size);
    }
    std::memcpy(m->bytes.data() + m->pos, buf, static_cast<size_t>(size));
    m->pos += size;
    return size;
}
toff_t SeekProc(thandle_t h, toff_t off, int whence) {
    auto* m = static_cast<Memory*>(h);
    m->pos = whence == SEEK_SET ? off : whence == SEEK_CUR ? m->pos + off : m->bytes.size() + off;
    return m->pos;
}
int CloseProc(thandle_t) {
    return 0;
}
toff_t SizeProc(thandle_t h) {
    return static_cast<Memory*>(h)->bytes.size();
}
int MapProc(thandle_t h, tdata_t* base, toff_t* size) {
    auto* m = static_cast<Memory*>(h);
    *base = m->bytes.data();
    *size = m->bytes.size();
    return 1;
}
void UnmapProc(thandle_t, tdata_t, toff_t) {}

TIFF* OpenMemory(Memory& m, const char* mode) {
    return TIFFClientOpen("memory", mode, &m, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc, UnmapProc);
}

TIFF* CreateG3(Memory& m, uint32_t width, uint32_t height, bool fillBits) {
    TIFF* tif = OpenMemory(m, "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, fillBits ? GROUP3OPT_FILLBITS : 0);
    return tif;
}

}  // namespace

std::vector<uint8_t> LibtiffG3File(const BilevelImage& page, bool fillBits) {
    Memory m;
    TIFF* tif = CreateG3(m, page.width, page.height, fillBits);
    const size_t rowBytes = (page.width + 7) / 8;
    std::vector<uint8_t> rows(rowBytes * page.height);
    for (uint32_t y = 0; y < page.height; ++y) {
        std::memcpy(rows.data() + y * rowBytes, page.Row(y), rowBytes);
    }
    TIFFWriteEncodedStrip(tif, 0, rows.data(), static_cast<tmsize_t>(rows.size()));
    TIFFClose(tif);
    return std::move(m.bytes);
}

struct LibtiffG3Encoder::State {
    Memory memory;
    TIFF* tif = nullptr;
    uint32_t width, height;
    bool fillBits;
    std::vector<uint8_t> rows;
};

LibtiffG3Encoder::LibtiffG3Encoder(const BilevelImage& page, bool fillBits) : state_(std::make_unique<State>()) {
    state_->width = page.width;
    state_->height = page.height;
    state_->fillBits = fillBits;
    const size_t rowBytes = (page.width + 7) / 8;
    state_->rows.resize(rowBytes * page.height);
    for (uint32_t y = 0; y < page.height; ++y) {
        std::memcpy(state_->rows.data() + y * rowBytes, page.Row(y), rowBytes);
    }
}

LibtiffG3Encoder::~LibtiffG3Encoder() {
    Close();
}

void LibtiffG3Encoder::Open() {
    Close();
    state_->memory = Memory();
    state_->tif = CreateG3(state_->memory, state_->width, state_->height, state_->fillBits);
}

bool LibtiffG3Encoder::Write() {
    const auto size = static_cast<tmsize_t>(state_->rows.size());
    return state_->tif && TIFFWriteEncodedStrip(state_->tif, 0, state_->rows.data(), size) >= 0;
}

const std::vector<uint8_t>& LibtiffG3Encoder::Close() {
    if (state_->tif) {
        TIFFClose(state_->tif);
        state_->tif = nullptr;
    }
    return state_->memory.bytes;
}

std::vector<uint8_t> LibtiffG3FileFromStrip(uint32_t width,
                                            uint32_t height,
                                            std::span<const uint8_t> coded,
                                            bool fillBits) {
    Memory m;
    TIFF* tif = CreateG3(m, width, height, fillBits);
    TIFFWriteRawStrip(tif, 0, const_cast<uint8_t*>(coded.data()), static_cast<tmsize_t>(coded.size()));
    TIFFClose(tif);
    return std::move(m.bytes);
}

std::vector<uint8_t> LibtiffG3Strip(const BilevelImage& page, bool fillBits) {
    Memory m;
    m.bytes = LibtiffG3File(page, fillBits);
    TIFF* tif = OpenMemory(m, "r");
    std::vector<uint8_t> strip;
    if (tif != nullptr) {
        strip.resize(TIFFRawStripSize(tif, 0));
        strip.resize(std::max<tmsize_t>(0, TIFFReadRawStrip(tif, 0, strip.data(), strip.size())));
        TIFFClose(tif);
    }
    return strip;
}

LibtiffG3Reader::LibtiffG3Reader(std::vector<uint8_t> tiffFile) : memory_(std::make_unique<Memory>()) {
    memory_->bytes = std::move(tiffFile);
    TIFF* tif = OpenMemory(*memory_, "r");
    if (tif != nullptr) {
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width_);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height_);
    }
    tiff_ = tif;
}

LibtiffG3Reader::~LibtiffG3Reader() {
    if (tiff_ != nullptr) {
        TIFFClose(static_cast<TIFF*>(tiff_));
    }
}

bool LibtiffG3Reader::Decode(std::vector<uint8_t>& rows) {
    rows.resize((width_ + 7) / 8 * height_);
    return TIFFReadEncodedStrip(static_cast<TIFF*>(tiff_), 0, rows.data(), static_cast<tmsize_t>(rows.size())) ==
           static_cast<tmsize_t>(rows.size());
}

BilevelImage LibtiffG3Reader::DecodeImage() {
    std::vector<uint8_t> rows;
    BilevelImage page(width_, height_);
    if (!Decode(rows)) {
        return {};
    }
    const size_t rowBytes = (width_ + 7) / 8;
    for (uint32_t y = 0; y < height_; ++y) {
        std::memcpy(page.Row(y), rows.data() + y * rowBytes, rowBytes);
    }
    return page;
}

}  // namespace mh
