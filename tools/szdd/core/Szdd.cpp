#include "tools/szdd/core/Szdd.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/core/ByteOrder.h"

namespace szdd {
namespace {

constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr uint8_t kMethodA = 'A';
constexpr size_t kWindow = 4096;
constexpr size_t kWindowMask = kWindow - 1;
// Where lz32 writes the first byte. An expander that starts at 4078, as LZSS code often does, reads
// every match of ours two bytes off.
constexpr size_t kStart = 0xFF0;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 18;
// A source 4096 back would be the slot the match is about to overwrite; one short of that never depends on the
// order in which an expander reads and writes.
constexpr size_t kMaxDistance = kWindow - 1;
// Each item costs its flag bit: a literal 1 + 8 bits, a match 1 + 16 whatever its length and distance.
constexpr uint32_t kLiteralBits = 9;
constexpr uint32_t kMatchBits = 17;
// The parse is optimal within blocks of this many bytes, which bounds its memory whatever the file's size.
constexpr size_t kBlock = size_t{1} << 16;
constexpr size_t kReparsed = 1024;
constexpr int kHashBits = 14;
// On the suite's programs a longer search makes them under 0.2% smaller and takes markedly longer.
constexpr int kMaxChain = 64;
constexpr size_t kNone = SIZE_MAX;

struct Match {
    size_t length = 0;
    size_t distance = 0;
};

// Longest matches by hash chains over 3-byte prefixes. The data sits behind kMaxMatch spaces standing for the
// window's slots not yet written: a match starting further back than those reads only spaces too, so these are
// all an encoder needs for runs of spaces near the start.
class MatchFinder {
public:
    MatchFinder(const uint8_t* data, size_t size)
        : buf_(kMaxMatch + size + kPadding, 0), head_(size_t{1} << kHashBits, kNone), prev_(kWindow, kNone) {
        std::fill_n(buf_.begin(), kMaxMatch, ' ');
        std::copy_n(data, size, buf_.begin() + kMaxMatch);
        end_ = kMaxMatch + size;
        for (size_t p = 0; p < kMaxMatch; ++p)
            Insert(p);
    }

    // The longest match for the data at i; called for every i in increasing order.
    Match Find(size_t i) {
        const size_t p = i + kMaxMatch;
        const size_t maxLength = std::min(kMaxMatch, end_ - p);
        if (maxLength < kMinMatch)
            return {};
        const size_t limit = p > kMaxDistance ? p - kMaxDistance : 0;
        Match best;
        int chain = kMaxChain;
        for (size_t c = head_[Hash(p)]; c != kNone && c >= limit && chain-- > 0; c = prev_[c & kWindowMask]) {
            if (buf_[c + best.length] != buf_[p + best.length])
                continue;
            const size_t length = CommonLength(&buf_[c], &buf_[p], maxLength);
            if (length > best.length) {
                best = {length, p - c};
                if (length == maxLength)
                    break;
            }
        }
        Insert(p);
        return best.length >= kMinMatch ? best : Match{};
    }

private:
    // CommonLength reads whole words up to 8 bytes past the last one it may count.
    static constexpr size_t kPadding = 32;

    uint32_t Hash(size_t p) const {
        const uint32_t v = buf_[p] | (buf_[p + 1] << 8) | (buf_[p + 2] << 16);
        return (v * 0x9E3779B1u) >> (32 - kHashBits);
    }

    // Chains stay in descending order: a prev_ slot is reused only by a position 4096 later, beyond every search's
    // limit until then.
    void Insert(size_t p) {
        const uint32_t h = Hash(p);
        prev_[p & kWindowMask] = head_[h];
        head_[h] = p;
    }

    static size_t CommonLength(const uint8_t* a, const uint8_t* b, size_t maxLength) {
        size_t n = 0;
        while (n < maxLength) {
            uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (const uint64_t diff = x ^ y) {
                n += (std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff)) / 8;
                break;
            }
            n += 8;
        }
        return std::min(n, maxLength);
    }

    std::vector<uint8_t> buf_;
    std::vector<size_t> head_;
    std::vector<size_t> prev_;
    size_t end_;
};

// Items go out in groups of eight behind a flag byte whose bit n (from the lowest) is set for a literal.
class ItemWriter {
public:
    explicit ItemWriter(uint8_t* at) : at_(at) {}

    void Literal(uint8_t byte) {
        Flag(true);
        *at_++ = byte;
    }
    // `source` is the data position the match copies from; the data starts at the window's slot kStart.
    void Match(size_t source, size_t length) {
        Flag(false);
        const size_t slot = (kStart + source) & kWindowMask;
        *at_++ = static_cast<uint8_t>(slot);
        *at_++ = static_cast<uint8_t>(((slot >> 4) & 0xF0) | (length - kMinMatch));
    }
    uint8_t* End() const { return at_; }

private:
    void Flag(bool literal) {
        if (count_ == 8) {
            flags_ = at_++;
            *flags_ = 0;
            count_ = 0;
        }
        if (literal)
            *flags_ |= static_cast<uint8_t>(1u << count_);
        ++count_;
    }

    uint8_t* at_;
    uint8_t* flags_ = nullptr;
    unsigned count_ = 8;
};

}  // namespace

CompressedName CompressName(std::string_view fileName) {
    const size_t nameStart = fileName.find_last_of("/\\:") + 1;  // npos + 1 == 0
    const size_t dot = fileName.rfind('.');
    std::string name(fileName);
    if (dot == std::string_view::npos || dot < nameStart)
        return {name + "._", '\0'};
    if (fileName.size() - dot - 1 < 3)
        return {name + "_", '\0'};
    const char last = name.back();
    name.back() = '_';
    return {name, last};
}

std::vector<uint8_t> Compress(const uint8_t* data, size_t size, char lastChar) {
    // The parse never costs more bits than all literals: 9 per byte, plus the last flag byte's padding.
    std::vector<uint8_t> out(kHeaderSize + size + size / 8 + 2);
    std::copy(std::begin(kMagic), std::end(kMagic), out.begin());
    out[8] = kMethodA;
    out[9] = static_cast<uint8_t>(lastChar);
    WriteLe32(&out[10], static_cast<uint32_t>(size));

    MatchFinder finder(data, size);
    ItemWriter writer(&out[kHeaderSize]);
    const size_t block = std::min(size, kBlock);
    std::vector<uint8_t> length(block);
    std::vector<uint16_t> distance(block);
    std::vector<uint8_t> step(block);
    std::vector<uint32_t> cost(block + 1);
    size_t found = 0;  // positions from `start` on whose longest match is known
    for (size_t start = 0; start < size;) {
        const size_t end = std::min(size, start + kBlock);
        for (size_t i = start + found; i < end; ++i) {
            const Match m = finder.Find(i);
            length[i - start] = static_cast<uint8_t>(m.length);
            distance[i - start] = static_cast<uint16_t>(m.distance);
        }
        // Backwards, the cheapest way from each position to the block's end (1 for a literal, else a match's
        // length); any prefix of a longest match is a match too.
        cost[end - start] = 0;
        for (size_t i = end; i-- > start;) {
            const size_t k = i - start;
            cost[k] = cost[k + 1] + kLiteralBits;
            step[k] = 1;
            const size_t longest = std::min<size_t>(length[k], end - i);
            for (size_t l = kMinMatch; l <= longest; ++l) {
                if (cost[k + l] + kMatchBits <= cost[k]) {
                    cost[k] = cost[k + l] + kMatchBits;
                    step[k] = static_cast<uint8_t>(l);
                }
            }
        }
        // The block's end cuts matches short: the last stretch is parsed again with what follows.
        const size_t settled = end == size ? end : end - kReparsed;
        size_t i = start;
        for (; i < settled; i += step[i - start]) {
            const size_t k = i - start;
            if (step[k] == 1)
                writer.Literal(data[i]);
            else
                writer.Match(i - distance[k], step[k]);
        }
        found = end - i;
        std::copy(length.begin() + (i - start), length.begin() + (end - start), length.begin());
        std::copy(distance.begin() + (i - start), distance.begin() + (end - start), distance.begin());
        start = i;
    }
    out.resize(static_cast<size_t>(writer.End() - out.data()));
    return out;
}

std::optional<std::vector<uint8_t>> Expand(const uint8_t* data, size_t size) {
    if (size < kHeaderSize || !std::equal(std::begin(kMagic), std::end(kMagic), data) || data[8] != kMethodA)
        return std::nullopt;
    const uint32_t length = ReadLe32(data + 10);
    const uint8_t* in = data + kHeaderSize;
    const uint8_t* const inEnd = data + size;
    // A match of two bytes and an eighth of a flag byte gives at most 18: no stream yields nine times its size, so a
    // header that claims more is damaged and nothing is allocated for it.
    if ((uint64_t{length} + 8) / 9 > static_cast<uint64_t>(inEnd - in))
        return std::nullopt;

    std::vector<uint8_t> out(length);
    uint8_t window[kWindow];
    std::memset(window, ' ', sizeof window);
    size_t slot = kStart;
    size_t o = 0;
    while (in != inEnd) {
        unsigned flags = *in++;
        for (int item = 0; item < 8 && in != inEnd; ++item, flags >>= 1) {
            if (flags & 1) {
                if (o == length)
                    return std::nullopt;
                out[o++] = window[slot] = *in++;
                slot = (slot + 1) & kWindowMask;
                continue;
            }
            if (inEnd - in < 2)
                return std::nullopt;
            size_t source = in[0] | ((in[1] & 0xF0) << 4);
            const size_t count = (in[1] & 0x0F) + kMinMatch;
            in += 2;
            if (count > length - o)
                return std::nullopt;
            // Byte by byte: a match may read what it has just written.
            for (size_t k = 0; k < count; ++k) {
                out[o++] = window[slot] = window[source];
                slot = (slot + 1) & kWindowMask;
                source = (source + 1) & kWindowMask;
            }
        }
    }
    if (o != length)
        return std::nullopt;
    return out;
}

}  // namespace szdd
