#include "companions/kdmlib/core/MhEncoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "companions/kdmlib/core/T4Codes.h"

namespace mh {
namespace {

using kdm::T4Code;

// Bits go out 32 at a time into room the caller has made.
class BitWriter {
public:
    explicit BitWriter(uint8_t* at) : at_(at) {}

    void Put(T4Code code) {
        acc_ = acc_ << code.length | code.bits;
        count_ += code.length;
        if (count_ >= 32) {
            count_ -= 32;
            const auto word = static_cast<uint32_t>(acc_ >> count_);
            at_[0] = static_cast<uint8_t>(word >> 24);
            at_[1] = static_cast<uint8_t>(word >> 16);
            at_[2] = static_cast<uint8_t>(word >> 8);
            at_[3] = static_cast<uint8_t>(word);
            at_ += 4;
        }
    }
    void PutZeros(unsigned n) { Put({0, static_cast<uint8_t>(n)}); }  // n < 32
    // Bits after the last whole byte.
    unsigned Pending() const { return count_ & 7; }
    // Pads the last byte with zero bits; gives the end of the coded bytes.
    uint8_t* Finish() {
        PutZeros((8 - Pending()) % 8);
        for (; count_ > 0; count_ -= 8)
            *at_++ = static_cast<uint8_t>(acc_ >> (count_ - 8));
        return at_;
    }

private:
    uint8_t* at_;
    uint64_t acc_ = 0;
    unsigned count_ = 0;
};

inline void PutRun(BitWriter& writer, bool black, uint32_t run) {
    const auto& terminating = black ? kdm::kBlackTerminating : kdm::kWhiteTerminating;
    if (run < 64) {
        writer.Put(terminating[run]);
        return;
    }
    const auto& makeUp = black ? kdm::kBlackMakeUp : kdm::kWhiteMakeUp;
    while (run >= kdm::kLongestMakeUp + 64) {
        writer.Put(kdm::kExtendedMakeUp.back());
        run -= kdm::kLongestMakeUp;
    }
    if (run >= 64) {
        const uint32_t units = run / 64;
        writer.Put(units <= makeUp.size() ? makeUp[units - 1] : kdm::kExtendedMakeUp[units - makeUp.size() - 1]);
        run -= units * 64;
    }
    writer.Put(terminating[run]);
}

void PutEol(BitWriter& writer, bool fillBits) {
    if (fillBits) {
        writer.PutZeros((8 - (writer.Pending() + kdm::kEol.length) % 8) % 8);
    }
    writer.Put(kdm::kEol);
}

uint64_t LoadBigEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
        v = __builtin_bswap64(v);
    }
    return v;
}

// Line y as whole 64-pixel words: the page's own row when its padding holds them (`line` is then empty), else a
// copy into `line`, padded with white.
const uint8_t* LineWords(const BilevelImage& page, uint32_t y, std::vector<uint8_t>& line) {
    if (line.empty())
        return page.Row(y);
    std::copy_n(page.Row(y), page.Stride(), line.begin());
    return line.data();
}

// Codes one line: its runs end where a pixel differs from the one before it, found 64 pixels at a time.
// `row` is padded with white to whole 64-pixel words.
void PutLine(BitWriter& writer, const uint8_t* row, uint32_t width) {
    uint32_t runStart = 0;
    bool black = false;
    uint64_t before = 0;  // the pixel left of the word; the line starts after an imaginary white one
    for (uint32_t base = 0; base < width; base += 64) {
        const uint64_t pixels = LoadBigEndian64(row + base / 8);
        uint64_t changes = pixels ^ (pixels >> 1 | before << 63);
        before = pixels & 1;
        while (changes != 0) {
            const auto at = static_cast<unsigned>(__builtin_clzll(changes));
            const uint32_t x = base + at;
            if (x >= width) {
                break;
            }
            PutRun(writer, black, x - runStart);
            runStart = x;
            black = !black;
            changes &= ~(uint64_t{1} << (63 - at));
        }
    }
    PutRun(writer, black, width - runStart);
}

unsigned CountBits(uint64_t v) {
    v -= (v >> 1) & 0x5555555555555555u;
    v = (v & 0x3333333333333333u) + ((v >> 2) & 0x3333333333333333u);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<unsigned>((v * 0x0101010101010101u) >> 56);
}

// The most bytes the page can code to: per run a make-up code for each full 2560 pixels, one more make-up and a
// terminating code (13 bits each at most); per line an EOL with fill bits; then the RTC. Runs are counted 64
// pixels at a time.
size_t CodedBytesBound(const BilevelImage& page, std::vector<uint8_t>& line) {
    size_t runs = 0;
    for (uint32_t y = 0; y < page.height; ++y) {
        const uint8_t* row = LineWords(page, y, line);
        uint64_t before = 0;
        for (uint32_t base = 0; base < page.width; base += 64) {
            const uint64_t pixels = LoadBigEndian64(row + base / 8);
            runs += CountBits(pixels ^ (pixels >> 1 | before << 63));
            before = pixels & 1;
        }
        ++runs;
    }
    const size_t codesPerRun = 2 + page.width / 2560;
    return (runs * codesPerRun * 13 + size_t{page.height} * 19) / 8 + 6 * 3 + 16;
}

}  // namespace

std::vector<uint8_t> EncodeMh(const BilevelImage& page, const MhEncodeOptions& options) {
    const size_t words = (page.width + 63) / 64 * 8;
    std::vector<uint8_t> line(page.Stride() >= words ? 0 : words);
    // Room for the worst case, not cleared: only what the coding fills is ever touched.
    std::unique_ptr<uint8_t[]> room(new uint8_t[CodedBytesBound(page, line)]);
    BitWriter writer(room.get());
    for (uint32_t y = 0; y < page.height; ++y) {
        if (options.eol) {
            PutEol(writer, options.fillBits);
        }
        PutLine(writer, LineWords(page, y, line), page.width);
    }
    if (options.rtc) {
        for (int i = 0; i < 6; ++i) {
            PutEol(writer, options.fillBits);
        }
    }
    return std::vector<uint8_t>(room.get(), writer.Finish());
}

}  // namespace mh
