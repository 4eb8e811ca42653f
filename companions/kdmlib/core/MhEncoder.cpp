#include "companions/kdmlib/core/MhEncoder.h"

#include "companions/kdmlib/core/T4Codes.h"

namespace mh {
namespace {

using kdm::T4Code;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Put(T4Code code) {
        acc_ = acc_ << code.length | code.bits;
        count_ += code.length;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<uint8_t>(acc_ >> count_));
        }
    }
    void PutZeros(unsigned n) {
        for (; n > 0; --n) {
            Put({0, 1});
        }
    }
    // Bits after the last whole byte.
    unsigned Pending() const { return count_; }
    void Flush() {
        if (count_ > 0) {
            PutZeros(8 - count_);
        }
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t acc_ = 0;
    unsigned count_ = 0;
};

void PutRun(BitWriter& writer, bool black, uint32_t run) {
    const auto& terminating = black ? kdm::kBlackTerminating : kdm::kWhiteTerminating;
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

bool PixelBlack(const uint8_t* row, uint32_t x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// First pixel at or after x whose colour is not `black`, skipping whole bytes of that colour.
uint32_t NextChange(const uint8_t* row, uint32_t x, uint32_t width, bool black) {
    const uint8_t same = black ? 0xFF : 0x00;
    while (x < width) {
        if ((x & 7) == 0 && x + 8 <= width && row[x >> 3] == same) {
            x += 8;
        } else if (PixelBlack(row, x) == black) {
            ++x;
        } else {
            break;
        }
    }
    return x;
}

}  // namespace

std::vector<uint8_t> EncodeMh(const BilevelImage& page, const MhEncodeOptions& options) {
    std::vector<uint8_t> out;
    BitWriter writer(out);
    for (uint32_t y = 0; y < page.height; ++y) {
        if (options.eol) {
            PutEol(writer, options.fillBits);
        }
        const uint8_t* row = page.Row(y);
        uint32_t x = 0;
        bool black = false;
        do {
            const uint32_t next = NextChange(row, x, page.width, black);
            PutRun(writer, black, next - x);
            x = next;
            black = !black;
        } while (x < page.width);
    }
    if (options.rtc) {
        for (int i = 0; i < 6; ++i) {
            PutEol(writer, options.fillBits);
        }
    }
    writer.Flush();
    return out;
}

}  // namespace mh
