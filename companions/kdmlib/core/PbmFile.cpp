#include "companions/kdmlib/core/PbmFile.h"

#include "companions/kdmlib/core/BmpFile.h"

#include <cctype>

namespace mh {
namespace {

// Fax pages are at most a few thousand pixels each way; this keeps a hostile header from asking for gigabytes.
constexpr uint32_t kMaxDimension = 65535;

class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> data) : data_(data) {}

    void SkipSpaceAndComments() {
        while (pos_ < data_.size()) {
            if (data_[pos_] == '#') {
                while (pos_ < data_.size() && data_[pos_] != '\n') {
                    ++pos_;
                }
            } else if (std::isspace(data_[pos_])) {
                ++pos_;
            } else {
                break;
            }
        }
    }
    std::optional<uint32_t> Number() {
        SkipSpaceAndComments();
        uint32_t value = 0;
        size_t digits = 0;
        while (pos_ < data_.size() && std::isdigit(data_[pos_])) {
            value = value * 10 + (data_[pos_++] - '0');
            if (++digits > 5 || value > kMaxDimension) {
                return std::nullopt;
            }
        }
        return digits > 0 ? std::optional(value) : std::nullopt;
    }
    size_t pos_ = 0;
    std::span<const uint8_t> data_;
};

}  // namespace

std::optional<kdm::BilevelImage> ReadPbm(std::span<const uint8_t> file) {
    if (file.size() < 2 || file[0] != 'P' || (file[1] != '1' && file[1] != '4')) {
        return std::nullopt;
    }
    const bool raw = file[1] == '4';
    Cursor cursor(file);
    cursor.pos_ = 2;
    const auto width = cursor.Number();
    const auto height = cursor.Number();
    if (!width || !height || *width == 0 || *height == 0) {
        return std::nullopt;
    }
    kdm::BilevelImage page(*width, *height);
    if (raw) {
        // Exactly one whitespace byte separates the header from the rows.
        const size_t rowBytes = (*width + 7) / 8;
        const size_t start = cursor.pos_ + 1;
        if (start > file.size() || file.size() - start < rowBytes * *height) {
            return std::nullopt;
        }
        for (uint32_t y = 0; y < *height; ++y) {
            const uint8_t* src = file.data() + start + y * rowBytes;
            uint8_t* dst = page.Row(y);
            for (size_t i = 0; i < rowBytes; ++i) {
                dst[i] = src[i];
            }
            if (*width % 8 != 0) {
                dst[rowBytes - 1] &= static_cast<uint8_t>(0xFF00 >> (*width % 8));
            }
        }
        return page;
    }
    for (uint32_t y = 0; y < *height; ++y) {
        for (uint32_t x = 0; x < *width; ++x) {
            cursor.SkipSpaceAndComments();
            if (cursor.pos_ >= file.size() || (file[cursor.pos_] != '0' && file[cursor.pos_] != '1')) {
                return std::nullopt;
            }
            if (file[cursor.pos_++] == '1') {
                page.SetBlack(x, y);
            }
        }
    }
    return page;
}

std::optional<kdm::BilevelImage> ReadPageImage(std::span<const uint8_t> file) {
    if (auto pbm = ReadPbm(file)) {
        return pbm;
    }
    if (auto bmp = kdm::ReadBilevelBmp(file)) {
        return std::move(bmp->image);
    }
    return std::nullopt;
}

}  // namespace mh
