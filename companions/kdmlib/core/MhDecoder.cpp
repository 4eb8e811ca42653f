#include "companions/kdmlib/core/MhDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "companions/kdmlib/core/T4Codes.h"

namespace kdm {
namespace {

// A lookup entry: run length << 4 | code length. Code length 0 marks a bit pattern that starts no code.
constexpr uint16_t kNoCode = 0;
constexpr uint16_t kEolOrFill = 0xFFF0;  // eleven or more zeros: fill bits or an EOL

template <unsigned IndexBits>
constexpr std::array<uint16_t, 1u << IndexBits> BuildTable(const std::array<T4Code, 64>& terminating,
                                                           const std::array<T4Code, 27>& makeUp) {
    std::array<uint16_t, 1u << IndexBits> table{};
    auto add = [&table](T4Code code, uint32_t run) {
        const unsigned spare = IndexBits - code.length;
        const uint32_t first = static_cast<uint32_t>(code.bits) << spare;
        for (uint32_t i = 0; i < (1u << spare); ++i) {
            table[first + i] = static_cast<uint16_t>(run << 4 | code.length);
        }
    };
    for (uint32_t run = 0; run < terminating.size(); ++run) {
        add(terminating[run], run);
    }
    for (uint32_t i = 0; i < makeUp.size(); ++i) {
        add(makeUp[i], (i + 1) * 64);
    }
    for (uint32_t i = 0; i < kExtendedMakeUp.size(); ++i) {
        add(kExtendedMakeUp[i], (i + 28) * 64);
    }
    for (uint32_t i = 0; i < (1u << (IndexBits - 11)); ++i) {
        table[i] = kEolOrFill;
    }
    return table;
}

// The longest white code has 12 bits, the longest black one 13: one lookup decodes any code.
constexpr unsigned kWhiteIndexBits = 12;
constexpr unsigned kBlackIndexBits = 13;
constexpr auto kWhiteTable = BuildTable<kWhiteIndexBits>(kWhiteTerminating, kWhiteMakeUp);
constexpr auto kBlackTable = BuildTable<kBlackIndexBits>(kBlackTerminating, kBlackMakeUp);

constexpr std::array<uint32_t, 5> kWidthsByCode = {1728, 2048, 2432, 1216, 864};
constexpr uint32_t kProbeRows = 8;

inline uint64_t LoadBigEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
        v = __builtin_bswap64(v);
    }
    return v;
}

inline void StoreBigEndian64(uint8_t* p, uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        v = __builtin_bswap64(v);
    }
    std::memcpy(p, &v, sizeof v);
}

// Sets the black runs of one zeroed row, gathering them in a 64-bit word so that each word of the row is stored
// once. The row must have 8 bytes to spare after its last pixel: the last word may reach past it (with zeros).
class RowWriter {
public:
    explicit RowWriter(uint8_t* row) : row_(row) {}

    void Black(uint32_t x, uint32_t n) {
        if (n == 0) {
            return;
        }
        if (x - base_ >= 64) {
            Flush();
            base_ = x & ~63u;
        }
        const unsigned offset = x - base_;
        if (offset + n < 64) {
            word_ |= (~uint64_t{0} << (64 - n)) >> offset;
            return;
        }
        Store(word_ | ~uint64_t{0} >> offset);
        for (n -= 64 - offset; n >= 64; n -= 64) {
            Store(~uint64_t{0});
        }
        word_ = n != 0 ? ~uint64_t{0} << (64 - n) : 0;
    }
    void Finish() { Flush(); }

private:
    void Store(uint64_t word) {
        StoreBigEndian64(row_ + base_ / 8, word);
        base_ += 64;
    }
    void Flush() {
        if (word_ != 0) {
            StoreBigEndian64(row_ + base_ / 8, word_);
            word_ = 0;
        }
    }

    uint8_t* row_;
    uint32_t base_ = 0;  // the first pixel of word_
    uint64_t word_ = 0;
};

// MSB-first bits, 56 to 63 of them left-aligned in one word after each refill. Past the end of the data it reads
// zeros, which no code consists of, so decoding always falls into the EOL-or-fill path there and stops.
class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> data)
        : data_(data.data()), size_(data.size()), totalBits_(static_cast<uint64_t>(data.size()) * 8) {}

    void Refill() {
        if (pos_ + 8 <= size_) {
            buf_ |= LoadBigEndian64(data_ + pos_) >> count_;
            pos_ += (63 - count_) >> 3;
            count_ |= 56;
        } else {
            while (count_ <= 56) {
                const uint64_t byte = pos_ < size_ ? data_[pos_] : 0;
                buf_ |= byte << (56 - count_);
                ++pos_;
                count_ += 8;
            }
        }
    }
    uint64_t Peek() const { return buf_; }
    unsigned Available() const { return count_; }
    void Consume(unsigned n) {
        buf_ <<= n;
        count_ -= n;
    }
    void ConsumeAll() {
        buf_ = 0;
        count_ = 0;
    }
    uint64_t Consumed() const { return static_cast<uint64_t>(pos_) * 8 - count_; }
    uint64_t TotalBits() const { return totalBits_; }
    bool AtEnd() const { return Consumed() >= totalBits_; }
    bool PastEnd() const { return Consumed() > totalBits_; }

private:
    const uint8_t* data_;
    size_t size_;
    uint64_t totalBits_;
    size_t pos_ = 0;
    uint64_t buf_ = 0;
    unsigned count_ = 0;
};

enum class LineEnd { Complete, Damaged, AtEol, DataEnd };

class PageDecoder {
public:
    PageDecoder(std::span<const uint8_t> coded, uint32_t width, uint32_t maxRows)
        : bits_(coded), width_(width), stride_(BmpStride(width, 1)), maxRows_(maxRows) {
        rows_.reserve(std::min<size_t>(maxRows, kTypicalRows) * stride_ + kSpare);
    }

    void Run(const ProgressFn& progress) {
        bool eolMode = false;
        uint64_t nextReportBits = 0;
        unsigned reported = 0;
        while (rowCount_ < maxRows_) {
            if (progress && bits_.Consumed() >= nextReportBits) {
                reported = static_cast<unsigned>(std::min<uint64_t>(bits_.Consumed() * 100 / bits_.TotalBits(), 99));
                progress(reported);
                nextReportBits = ((reported + 1) * bits_.TotalBits() + 99) / 100;
            }
            const int eols = SkipEols();
            if (eols < 0 || eols >= 2) {
                break;
            }
            eolMode = eolMode || eols == 1;
            rows_.resize((rowCount_ + 1) * stride_ + kSpare);
            uint8_t* row = rows_.data() + rowCount_ * stride_;
            LineEnd end = DecodeLine(row);
            if (end == LineEnd::DataEnd) {
                break;
            }
            // With EOLs, a line that adds up but is not followed by one was decoded out of step.
            if (end == LineEnd::Complete && eolMode && !EolOrEndFollows()) {
                end = LineEnd::Damaged;
            }
            ++rowCount_;
            if (end == LineEnd::Complete) {
                ++goodLines_;
                continue;
            }
            ++damagedLines_;
            if (rowCount_ > 1) {
                std::memcpy(row, row - stride_, stride_);
            } else {
                std::memset(row, 0, stride_);
            }
            if (end == LineEnd::Damaged && !SearchEol()) {
                break;
            }
        }
        if (progress && reported != 100) {
            progress(100);
        }
    }

    uint32_t GoodLines() const { return goodLines_; }

    // Turns the rows bottom-up in place, so the page's pixels are never copied.
    MhPage TakePage() {
        rows_.resize(rowCount_ * stride_);
        for (uint32_t top = 0, bottom = rowCount_; top + 1 < bottom; ++top, --bottom) {
            std::swap_ranges(rows_.begin() + top * stride_, rows_.begin() + (top + 1) * stride_,
                             rows_.begin() + (bottom - 1) * stride_);
        }
        MhPage page;
        page.damagedLines = damagedLines_;
        page.image.width = width_;
        page.image.height = rowCount_;
        page.image.bits = std::move(rows_);
        return page;
    }

private:
    // Consumes fill bits and EOLs before a line: their count, or -1 at the end of the data.
    int SkipEols() {
        int eols = 0;
        unsigned zeros = 0;
        for (;;) {
            bits_.Refill();
            if (bits_.AtEnd()) {
                return -1;
            }
            const uint64_t b = bits_.Peek();
            if (b == 0) {
                zeros += bits_.Available();
                bits_.ConsumeAll();
                continue;
            }
            const unsigned leading = static_cast<unsigned>(std::countl_zero(b));
            if (zeros + leading < 11) {
                return eols;
            }
            bits_.Consume(leading + 1);
            zeros = 0;
            ++eols;
        }
    }

    // Skips to the next run of eleven or more zeros, which SkipEols then takes as fill and EOL.
    bool SearchEol() {
        for (;;) {
            bits_.Refill();
            if (bits_.AtEnd()) {
                return false;
            }
            const uint64_t b = bits_.Peek();
            const unsigned leading = b == 0 ? 64 : static_cast<unsigned>(std::countl_zero(b));
            if (leading >= 11) {
                return true;
            }
            bits_.Consume(leading + 1);
        }
    }

    bool EolOrEndFollows() {
        bits_.Refill();
        return bits_.AtEnd() || bits_.Peek() >> (64 - 11) == 0;
    }

    // A line cut off by the end of the data is no damage, and only the end tells a cut from a bad code: the zeros
    // read past it can turn the prefix of a code into no code or into what looks like fill.
    LineEnd Stopped(uint16_t entry) {
        bits_.Refill();
        const uint64_t left = bits_.TotalBits() - std::min(bits_.Consumed(), bits_.TotalBits());
        const uint64_t zeros = bits_.Peek() == 0 ? 64 : std::countl_zero(bits_.Peek());
        if (left < kBlackIndexBits || (entry == kEolOrFill && zeros >= left)) {
            return LineEnd::DataEnd;
        }
        return entry == kEolOrFill ? LineEnd::AtEol : LineEnd::Damaged;
    }
    LineEnd Finished(bool ok) const {
        if (bits_.PastEnd()) {
            return LineEnd::DataEnd;
        }
        return ok ? LineEnd::Complete : LineEnd::Damaged;
    }

    LineEnd DecodeLine(uint8_t* row) {
        RowWriter writer(row);
        const LineEnd end = DecodeRuns(writer);
        writer.Finish();
        return end;
    }

    LineEnd DecodeRuns(RowWriter& row) {
        uint32_t x = 0;
        for (;;) {
            uint32_t run = 0;
            for (;;) {
                if (bits_.Available() < kBlackIndexBits) {
                    bits_.Refill();
                }
                const uint16_t entry = kWhiteTable[bits_.Peek() >> (64 - kWhiteIndexBits)];
                if ((entry & 15) == kNoCode) {
                    return Stopped(entry);
                }
                bits_.Consume(entry & 15);
                run += entry >> 4;
                if ((entry >> 4) < 64) {
                    break;
                }
                if (run > width_) {
                    return Finished(false);
                }
            }
            x += run;
            if (x >= width_) {
                return Finished(x == width_);
            }
            run = 0;
            for (;;) {
                if (bits_.Available() < kBlackIndexBits) {
                    bits_.Refill();
                }
                const uint16_t entry = kBlackTable[bits_.Peek() >> (64 - kBlackIndexBits)];
                if ((entry & 15) == kNoCode) {
                    return Stopped(entry);
                }
                bits_.Consume(entry & 15);
                run += entry >> 4;
                if ((entry >> 4) < 64) {
                    break;
                }
                if (run > width_) {
                    return Finished(false);
                }
            }
            if (run > width_ - x) {
                return Finished(false);
            }
            row.Black(x, run);
            x += run;
            if (x == width_) {
                return Finished(true);
            }
        }
    }

    BitReader bits_;
    uint32_t width_;
    size_t stride_;
    uint32_t maxRows_;
    static constexpr size_t kSpare = 8;            // RowWriter writes whole words
    static constexpr uint32_t kTypicalRows = 2400;  // an A4 fine page, so most pages never regrow
    std::vector<uint8_t> rows_;                     // top-down while decoding, zeroed as each row is added
    uint32_t rowCount_ = 0;
    uint32_t goodLines_ = 0;
    uint32_t damagedLines_ = 0;
};

uint32_t RowLimit(std::span<const uint8_t> coded) {
    // Every row, even a concealed one, takes at least 8 coded bits.
    return static_cast<uint32_t>(std::min<size_t>(kMaxPageRows, coded.size()));
}

uint32_t DetectWidth(std::span<const uint8_t> coded) {
    const uint32_t probeRows = std::min(kProbeRows, RowLimit(coded));
    uint32_t best = kDefaultPageWidth;
    uint32_t bestGood = 0;
    for (uint32_t width : kWidthsByCode) {
        PageDecoder probe(coded, width, probeRows);
        probe.Run({});
        if (probe.GoodLines() > bestGood) {
            best = width;
            bestGood = probe.GoodLines();
            if (bestGood == probeRows) {
                break;
            }
        }
    }
    return best;
}

}  // namespace

uint32_t PageWidthFromDecodeParam(uint32_t decodeParam) {
    const uint32_t code = decodeParam & 7;
    return code >= 1 && code <= kWidthsByCode.size() ? kWidthsByCode[code - 1] : 0;
}

std::optional<MhPage> DecodeMh(std::span<const uint8_t> coded, uint32_t decodeParam, const ProgressFn& progress) {
    if (coded.empty()) {
        if (progress) {
            progress(100);
        }
        return std::nullopt;
    }
    uint32_t width = PageWidthFromDecodeParam(decodeParam);
    if (width == 0) {
        width = DetectWidth(coded);
    }
    PageDecoder decoder(coded, width, RowLimit(coded));
    decoder.Run(progress);
    if (decoder.GoodLines() == 0) {
        return std::nullopt;
    }
    return decoder.TakePage();
}

}  // namespace kdm
