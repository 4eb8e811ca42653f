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

// A white and a black terminating code together in the next 12 bits, the common case on busy pages: total length
// | white run << 5 | black run << 11, or 0 when the bits start no such pair. Halves the lookups that each wait for
// the one before.
constexpr unsigned kPairIndexBits = 12;
constexpr std::array<uint16_t, 1u << kPairIndexBits> BuildPairTable() {
    std::array<uint16_t, 1u << kPairIndexBits> table{};
    for (uint32_t i = 0; i < table.size(); ++i) {
        const uint16_t white = kWhiteTable[i];
        const unsigned whiteLength = white & 15;
        if (whiteLength == 0 || (white >> 4) >= 64) {
            continue;
        }
        const uint32_t rest = (i << whiteLength) & ((1u << kPairIndexBits) - 1);
        const uint16_t black = kBlackTable[rest << (kBlackIndexBits - kPairIndexBits)];
        const unsigned blackLength = black & 15;
        if (blackLength == 0 || (black >> 4) >= 64 || whiteLength + blackLength > kPairIndexBits) {
            continue;
        }
        table[i] = static_cast<uint16_t>((whiteLength + blackLength) | (white >> 4) << 5 | (black >> 4) << 11);
    }
    return table;
}
constexpr auto kPairTable = BuildPairTable();

// A whole white run in the next 13 bits: a terminating code, or a make-up code and the terminating code after it.
// run << 4 | total length, or 0 when the bits hold no such run. Mostly white pages are made of make-up runs, and
// this takes each of them, make-up and terminating code, in one lookup instead of two that wait for each other.
constexpr unsigned kWhiteRunIndexBits = 13;
constexpr std::array<uint16_t, 1u << kWhiteRunIndexBits> BuildWhiteRunTable() {
    std::array<uint16_t, 1u << kWhiteRunIndexBits> table{};
    constexpr unsigned shift = kWhiteRunIndexBits - kWhiteIndexBits;
    for (uint32_t i = 0; i < table.size(); ++i) {
        const uint16_t first = kWhiteTable[i >> shift];
        const unsigned firstLength = first & 15;
        if (firstLength == 0) {
            continue;
        }
        if ((first >> 4) < 64) {
            table[i] = first;
            continue;
        }
        const uint32_t rest = (i << firstLength) & ((1u << kWhiteRunIndexBits) - 1);
        const uint16_t second = kWhiteTable[rest >> shift];
        const unsigned secondLength = second & 15;
        if (secondLength == 0 || (second >> 4) >= 64 || firstLength + secondLength > kWhiteRunIndexBits) {
            continue;
        }
        table[i] = static_cast<uint16_t>(((first >> 4) + (second >> 4)) << 4 | (firstLength + secondLength));
    }
    return table;
}
constexpr auto kWhiteRunTable = BuildWhiteRunTable();

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

// MSB-first bits, 56 to 63 of them left-aligned in one word after each refill. The word's bits after the ones counted
// in are the data's own or zeros, so every set bit in it is data. Past the end of the data it reads zeros, which no
// code consists of, so decoding always falls into the EOL-or-fill path there and stops.
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
            while (count_ < 56) {
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
    // Whether nothing but zeros is left of the data, however much: the data after the counted bits starts at pos_.
    bool RestIsZero() const {
        return buf_ == 0 && std::all_of(data_ + std::min(pos_, size_), data_ + size_, [](uint8_t b) { return b == 0; });
    }

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
        : coded_(coded), width_(width), stride_(BmpStride(width, 1)), maxRows_(maxRows), whiteLine_(WhiteLine(width)) {
        rows_.reserve(std::min<size_t>(maxRows, kTypicalRows) * stride_ + kSpare);
    }

    void Run(const ProgressFn& progress) {
        // A local reader stays in registers: the rows' byte stores could alias a member.
        BitReader bits(coded_);
        bool eolMode = false;
        uint64_t nextReportBits = 0;
        unsigned reported = 0;
        while (rowCount_ < maxRows_) {
            if (progress && bits.Consumed() >= nextReportBits) {
                reported = static_cast<unsigned>(std::min<uint64_t>(bits.Consumed() * 100 / bits.TotalBits(), 99));
                progress(reported);
                nextReportBits = ((reported + 1) * bits.TotalBits() + 99) / 100;
            }
            const int eols = SkipEols(bits);
            if (eols < 0 || eols >= 2) {
                break;
            }
            eolMode = eolMode || eols == 1;
            if (rows_.size() < (rowCount_ + 1) * stride_ + kSpare) {
                rows_.resize(std::min<size_t>(rowCount_ + kRowsPerGrowth, maxRows_) * stride_ + kSpare);
            }
            uint8_t* row = rows_.data() + rowCount_ * stride_;
            LineEnd end;
            // A blank line in its usual coding is one compare: the row is zeroed already. Its bits must all be
            // data, or the zeros read past the end could complete it.
            if (bits.Available() >= whiteLine_.length && bits.Peek() >> (64 - whiteLine_.length) == whiteLine_.bits &&
                bits.Consumed() + whiteLine_.length <= bits.TotalBits()) {
                bits.Consume(whiteLine_.length);
                end = LineEnd::Complete;
            } else {
                end = DecodeLine(bits, row);
            }
            if (end == LineEnd::DataEnd) {
                break;
            }
            // With EOLs, a line that adds up but is not followed by one was decoded out of step.
            if (end == LineEnd::Complete && eolMode && !EolOrEndFollows(bits)) {
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
            if (end == LineEnd::Damaged && !SearchEol(bits)) {
                break;
            }
        }
        if (progress && reported != 100) {
            progress(100);
        }
    }

    uint32_t GoodLines() const { return goodLines_; }

    MhPage TakePage() {
        rows_.resize(rowCount_ * stride_);
        MhPage page;
        page.damagedLines = damagedLines_;
        page.image.width = width_;
        page.image.height = rowCount_;
        page.image.bits = std::move(rows_);
        return page;
    }

private:
    // Consumes fill bits and EOLs before a line: their count, or -1 at the end of the data.
    static int SkipEols(BitReader& bits) {
        // The usual cases first, told without a refill, which would put a load in the chain that every code waits
        // for: a line right here, or one EOL (after any fill) and a line after it. A set bit is data, so it also
        // tells that the end is not reached.
        const uint64_t ahead = bits.Peek();
        const unsigned leading = ahead == 0 ? 64 : static_cast<unsigned>(std::countl_zero(ahead));
        if (leading < 11) {
            return 0;
        }
        if (leading + 12 <= bits.Available() && (ahead << leading << 1) >> (64 - 11) != 0) {
            bits.Consume(leading + 1);
            return 1;
        }
        int eols = 0;
        unsigned zeros = 0;
        for (;;) {
            bits.Refill();
            if (bits.AtEnd()) {
                return -1;
            }
            // A set bit after the counted ones is seen after the next refill.
            const uint64_t b = bits.Peek();
            const unsigned lead = b == 0 ? 64 : static_cast<unsigned>(std::countl_zero(b));
            if (lead >= bits.Available()) {
                zeros += bits.Available();
                bits.ConsumeAll();
                continue;
            }
            if (zeros + lead < 11) {
                return eols;
            }
            bits.Consume(lead + 1);
            zeros = 0;
            ++eols;
        }
    }

    // Skips to the next run of eleven or more zeros, which SkipEols then takes as fill and EOL.
    static bool SearchEol(BitReader& bits) {
        for (;;) {
            bits.Refill();
            if (bits.AtEnd()) {
                return false;
            }
            const uint64_t b = bits.Peek();
            const unsigned leading = b == 0 ? 64 : static_cast<unsigned>(std::countl_zero(b));
            if (leading >= 11) {
                return true;
            }
            bits.Consume(leading + 1);
        }
    }

    static bool EolOrEndFollows(BitReader& bits) {
        if (bits.Available() < 11) {
            bits.Refill();
        }
        return bits.Peek() >> (64 - 11) == 0;  // the zeros past the end count too
    }

    // A line cut off by the end of the data is no damage, and only the end tells a cut from a bad code: the zeros
    // read past it can turn the prefix of a code into no code or into what looks like fill. So a line is cut off
    // where fewer bits are left than the longest code has, or where it stopped at fill and only zeros follow.
    static LineEnd Stopped(BitReader& bits, bool atEol) {
        const uint64_t left = bits.TotalBits() - std::min(bits.Consumed(), bits.TotalBits());
        if (left < kBlackIndexBits || (atEol && bits.RestIsZero())) {
            return LineEnd::DataEnd;
        }
        return atEol ? LineEnd::AtEol : LineEnd::Damaged;
    }
    static LineEnd Finished(const BitReader& bits, bool ok) {
        if (bits.PastEnd()) {
            return LineEnd::DataEnd;
        }
        return ok ? LineEnd::Complete : LineEnd::Damaged;
    }

    // How the runs of a line ended, before the end of the data is taken into account.
    enum class Runs { Whole, TooLong, NoCode, EolOrFill };

    LineEnd DecodeLine(BitReader& bits, uint8_t* row) const {
        RowWriter writer(row);
        const Runs runs = DecodeRuns(bits, writer);
        writer.Finish();
        switch (runs) {
        case Runs::Whole:
            return Finished(bits, true);
        case Runs::TooLong:
            return Finished(bits, false);
        case Runs::NoCode:
            return Stopped(bits, false);
        case Runs::EolOrFill:
            break;
        }
        return Stopped(bits, true);
    }

    template <unsigned IndexBits, size_t N>
    static bool NextRun(BitReader& bits,
                        const std::array<uint16_t, N>& table,
                        uint32_t width,
                        uint32_t& run,
                        Runs& failure) {
        run = 0;
        for (;;) {
            if (bits.Available() < kBlackIndexBits) {
                bits.Refill();
            }
            const uint16_t entry = table[bits.Peek() >> (64 - IndexBits)];
            if ((entry & 15) == kNoCode) {
                failure = entry == kEolOrFill ? Runs::EolOrFill : Runs::NoCode;
                return false;
            }
            bits.Consume(entry & 15);
            run += entry >> 4;
            if ((entry >> 4) < 64) {
                return true;
            }
            if (run > width) {
                failure = Runs::TooLong;
                return false;
            }
        }
    }

    Runs DecodeRuns(BitReader& bits, RowWriter& row) const {
        Runs failure = Runs::NoCode;
        uint32_t x = 0;
        uint32_t run = 0;
        for (;;) {
            if (bits.Available() < kBlackIndexBits) {
                bits.Refill();
            }
            // The pair path only where the line goes on after the white run: at its end the bits that follow
            // belong to an EOL or the next line.
            const uint16_t pair = kPairTable[bits.Peek() >> (64 - kPairIndexBits)];
            const uint32_t white = pair >> 5 & 63;
            if (pair != 0 && x + white < width_) {
                const uint32_t black = pair >> 11;
                bits.Consume(pair & 31);
                x += white;
                if (black > width_ - x) {
                    return Runs::TooLong;
                }
                row.Black(x, black);
                x += black;
                if (x == width_) {
                    return Runs::Whole;
                }
                continue;
            }
            // A run that would overshoot the line goes code by code, which finds the overshoot at the same code.
            const uint16_t whole = kWhiteRunTable[bits.Peek() >> (64 - kWhiteRunIndexBits)];
            if (whole != 0 && x + (whole >> 4) <= width_) {
                bits.Consume(whole & 15);
                x += whole >> 4;
            } else {
                if (!NextRun<kWhiteIndexBits>(bits, kWhiteTable, width_, run, failure)) {
                    return failure;
                }
                x += run;
            }
            if (x >= width_) {
                return x == width_ ? Runs::Whole : Runs::TooLong;
            }
            if (!NextRun<kBlackIndexBits>(bits, kBlackTable, width_, run, failure)) {
                return failure;
            }
            if (run > width_ - x) {
                return Runs::TooLong;
            }
            row.Black(x, run);
            x += run;
            if (x == width_) {
                return Runs::Whole;
            }
        }
    }

    // The codes of a white run of the whole width, as an encoder writes it: a make-up code (when the width has
    // one) and a terminating code, together.
    struct Code {
        uint32_t bits;
        unsigned length;
    };
    static Code WhiteLine(uint32_t width) {
        Code line{0, 0};
        if (width >= 64) {
            const uint32_t index = width / 64 - 1;
            const T4Code makeUp =
                index < kWhiteMakeUp.size() ? kWhiteMakeUp[index] : kExtendedMakeUp[index - kWhiteMakeUp.size()];
            line = {makeUp.bits, makeUp.length};
        }
        const T4Code terminating = kWhiteTerminating[width % 64];
        return {line.bits << terminating.length | terminating.bits, line.length + terminating.length};
    }

    std::span<const uint8_t> coded_;
    uint32_t width_;
    size_t stride_;
    uint32_t maxRows_;
    Code whiteLine_;
    static constexpr size_t kSpare = 8;             // RowWriter writes whole words
    static constexpr uint32_t kTypicalRows = 2400;  // an A4 fine page, so most pages never regrow
    static constexpr uint32_t kRowsPerGrowth = 64;
    std::vector<uint8_t> rows_;  // zeroed ahead of the rows decoded, kRowsPerGrowth at a time
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
