#include "companions/twain/core/ScanPages.h"

#include <algorithm>

#include "common/core/ByteOrder.h"
#include "common/core/SmhWriter.h"
#include "companions/kdmlib/core/BmpFile.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/PbmFile.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "companions/kdmlib/core/Stretch.h"

namespace scan {
namespace {
constexpr uint32_t kPageWidth = 1728;
constexpr uint32_t kMaxPictureSide = 20000;  // larger than any page a scanner takes

// A BMP of any of the usual depths, as grey levels 0..255 row by row from the top.
std::optional<kdm::BilevelImage> ReadBmpPicture(std::span<const uint8_t> file) {
    constexpr size_t kInfoAt = 14, kInfoSize = 40;
    if (file.size() < kInfoAt + kInfoSize || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const uint8_t* info = file.data() + kInfoAt;
    const uint32_t headerSize = ReadLe32(info);
    const int32_t width = static_cast<int32_t>(ReadLe32(info + 4));
    const int32_t height = static_cast<int32_t>(ReadLe32(info + 8));
    const uint16_t bits = ReadLe16(info + 14);
    const uint32_t compression = ReadLe32(info + 16);
    const uint32_t used = ReadLe32(info + 32);
    const uint32_t offBits = ReadLe32(file.data() + 10);
    if (headerSize < kInfoSize || compression != 0 || width <= 0 || height == 0 || height == INT32_MIN)
        return std::nullopt;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    if (static_cast<uint32_t>(width) > kMaxPictureSide || rows > kMaxPictureSide)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::nullopt;
    const uint32_t colours = bits <= 8 ? (used != 0 ? used : 1u << bits) : 0;
    if (colours > (bits <= 8 ? 1u << bits : 0u))
        return std::nullopt;
    const uint64_t tableAt = kInfoAt + uint64_t{headerSize};
    const uint64_t stride = (uint64_t{bits} * static_cast<uint32_t>(width) + 31) / 32 * 4;
    if (tableAt + 4ull * colours > file.size() || offBits > file.size() || stride * rows > file.size() - offBits)
        return std::nullopt;
    uint8_t greyOf[256] = {};
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* c = file.data() + tableAt + 4 * i;
        greyOf[i] = static_cast<uint8_t>((c[0] * 29u + c[1] * 150u + c[2] * 77u) >> 8);
    }
    kdm::BilevelImage picture(static_cast<uint32_t>(width), rows);
    for (uint32_t y = 0; y < rows; ++y) {
        const uint8_t* row = file.data() + offBits + stride * (height > 0 ? rows - 1 - y : y);
        for (uint32_t x = 0; x < picture.width; ++x) {
            uint32_t grey;
            if (bits == 1)
                grey = greyOf[(row[x / 8] >> (7 - x % 8)) & 1];
            else if (bits == 4)
                grey = greyOf[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15];
            else if (bits == 8)
                grey = greyOf[row[x]];
            else {
                const uint8_t* p = row + x * (bits / 8);
                grey = (p[0] * 29u + p[1] * 150u + p[2] * 77u) >> 8;
            }
            if (grey < 128)
                picture.SetBlack(x, y);
        }
    }
    return picture;
}
}  // namespace

uint32_t PageRows(Resolution resolution) {
    return resolution == Resolution::kFine ? mh::kA4FineRows : mh::kA4StandardRows;
}

kdm::BilevelImage StandardFromFine(const kdm::BilevelImage& fine) {
    kdm::BilevelImage standard(fine.width, fine.height / 2);
    for (uint32_t y = 0; y < standard.height; ++y) {
        uint8_t* row = standard.Row(y);
        const uint8_t* first = fine.Row(2 * y);
        const uint8_t* second = fine.Row(2 * y + 1);
        for (size_t i = 0; i < fine.Stride(); ++i)
            row[i] = first[i] | second[i];
    }
    return standard;
}

std::optional<kdm::BilevelImage> ReadPicture(std::span<const uint8_t> file) {
    if (file.size() >= 2 && file[0] == 'P')
        return mh::ReadPbm(file);
    return ReadBmpPicture(file);
}

kdm::BilevelImage PlaceOnPage(const kdm::BilevelImage& picture, Resolution resolution) {
    kdm::BilevelImage page(kPageWidth, PageRows(resolution));
    if (picture.width == 0 || picture.height == 0)
        return page;
    // Pixels are square on the picture; a standard page's rows are twice as tall as they are wide.
    const double rowScale = resolution == Resolution::kFine ? 1.0 : 0.5;
    const double scale = std::min(double(kPageWidth) / picture.width, page.height / (picture.height * rowScale));
    const auto width = std::min<uint32_t>(kPageWidth, static_cast<uint32_t>(picture.width * scale));
    const auto height = std::min<uint32_t>(page.height, static_cast<uint32_t>(picture.height * rowScale * scale));
    for (uint32_t y = 0; y < height; ++y) {
        const auto sy = std::min<uint32_t>(picture.height - 1, static_cast<uint32_t>(y / (rowScale * scale)));
        for (uint32_t x = 0; x < width; ++x) {
            const auto sx = std::min<uint32_t>(picture.width - 1, static_cast<uint32_t>(x / scale));
            if (picture.Black(sx, sy))
                page.SetBlack(x, y);
        }
    }
    return page;
}

std::vector<uint8_t> DeliveredBitmap(const kdm::BilevelImage& scanned, Resolution resolution) {
    const auto shown = kdm::StretchPage(scanned, resolution == Resolution::kFine
                                                     ? static_cast<uint32_t>(kdm::StretchMode::AsIs)
                                                     : static_cast<uint32_t>(kdm::StretchMode::DoubleRows));
    std::vector<uint8_t> file = kdm::BilevelBmpFile(*shown);
    file.erase(file.begin(), file.begin() + kdm::kBmpFileHeaderSize);
    return file;
}

std::vector<uint8_t> ScanFile(const std::vector<ScannedPage>& scanned) {
    const bool allStandard = std::all_of(scanned.begin(), scanned.end(), [](const ScannedPage& page) {
        return page.resolution == Resolution::kStandard;
    });
    std::vector<SmhPageSpec> pages;
    for (const ScannedPage& page : scanned) {
        if (allStandard || page.resolution == Resolution::kFine)
            pages.emplace_back(mh::EncodeMh(page.image));
        else
            pages.emplace_back(
                mh::EncodeMh(*kdm::StretchPage(page.image, static_cast<uint32_t>(kdm::StretchMode::DoubleRows))));
    }
    return BuildSmhDocument(MakeSmhHeader(static_cast<uint32_t>(scanned.size()), allStandard && !scanned.empty()),
                            pages);
}

}  // namespace scan
