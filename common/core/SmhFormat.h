#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The SMH fax document: a 384-byte file header, then per page a 48-byte page header, `gapBytes` skipped bytes
// and the Modified Huffman coded page. Fields are little-endian; reserved bytes are kept as they are so that a
// header written back changes only what was meant to change.

inline constexpr size_t kSmhFileHeaderSize = 384;
inline constexpr size_t kSmhPageHeaderSize = 48;
inline constexpr uint16_t kSmhFormatId = 1;
// stretchSelector holds the pages' vertical resolution in lines per inch: 100 for standard (about 98 lpi, half the
// horizontal 204 dpi) and 200 for fine. A standard page is shown through stretch mode 0, which doubles its rows so
// that pixels come out square; anything else through mode 1, which keeps the page as it is.
inline constexpr uint32_t kSmhStandardResolution = 100;
inline constexpr uint32_t kSmhFineResolution = 200;
// decodeParam's low three bits give the page width: 1 = 1728 (A4), 2 = 2048 (B4), 3 = 2432 (A3), 4 = 1216,
// 5 = 864; 0, 6 and 7 let the decoder find the width from the first lines. Senders write 0 or 1.

inline constexpr size_t kSmhNumberField = 33;  // 32 bytes of text and the terminator
inline constexpr size_t kSmhNameField = 65;    // 64 bytes of text and the terminator

struct SmhFileHeader {
    std::array<uint8_t, kSmhFileHeaderSize> raw{};  // the bytes as read; fields below are views of it

    uint16_t DocKind() const;
    uint16_t FormatId() const;
    uint32_t PageCount() const;
    uint32_t MarkCount() const;
    uint32_t StretchSelector() const;
    uint32_t DecodeParam() const;
    uint32_t MarkFlag() const;
    std::string StationNumber() const;
    std::string StationName() const;
    std::string DestNumber() const;
    std::string DestName() const;

    void SetDocKind(uint16_t v);
    void SetFormatId(uint16_t v);
    void SetPageCount(uint32_t v);
    void SetMarkCount(uint32_t v);
    void SetStretchSelector(uint32_t v);
    void SetDecodeParam(uint32_t v);
    void SetMarkFlag(uint32_t v);
    // Text is cut to fit its field, never inside a double-byte character; the rest of the field is zeroed.
    void SetStationNumber(const std::string& text);
    void SetStationName(const std::string& text);
    void SetDestNumber(const std::string& text);
    void SetDestName(const std::string& text);
    // Zeroes the text bytes of a field (its terminator byte is left alone).
    void ClearStationNumber();
    void ClearStationName();
    void ClearDestination();
};

struct SmhPageHeader {
    std::array<uint8_t, kSmhPageHeaderSize> raw{};

    uint32_t GapBytes() const;
    uint32_t CodedBytes() const;
    uint32_t AdvanceBytes() const;
    void SetGapBytes(uint32_t v);
    void SetCodedBytes(uint32_t v);
    void SetAdvanceBytes(uint32_t v);
};

enum class SmhHeaderCheck { kValid, kWrongFormat, kNoPages, kRefused };

// Format id 1, at least one page, and not the refused combination (pageCount equal to markCount, docKind 2 and
// markFlag 1 together).
SmhHeaderCheck CheckSmhHeader(const SmhFileHeader& header);

// Random access to an SMH file's bytes, so the page walk can run on a file or on memory.
class ISmhSource {
public:
    virtual ~ISmhSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when fewer are there.
    virtual bool ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
};

struct SmhPageLocation {
    uint64_t dataOffset;  // where the coded data starts
    uint32_t codedBytes;  // never 0, never past the end of the file
    SmhPageHeader header;
};

std::optional<SmhFileHeader> ReadSmhFileHeader(ISmhSource& source);

// Finds page n (1-based) by walking the page headers from the first. Nothing when n is 0 or beyond pageCount, a
// page header is cut short, the page has no coded data, or its data would run past the end of the file. The walk
// moves forward by at least a page header each step, so it ends within size / 48 steps whatever the counts say.
std::optional<SmhPageLocation> LocateSmhPage(ISmhSource& source, const SmhFileHeader& header, uint32_t n);

// True when LocateSmhPage would find every page the header counts; one walk over the pages, not one per page.
bool AllSmhPagesPresent(ISmhSource& source, const SmhFileHeader& header);

// The header of a send copy (kind 2, with a destination and this station's number and name; an empty station
// text clears its field) or of the print copy (kind 3, no destination: the destination is cleared and the
// station fields stay as they were).
struct SmhDestination {
    std::string name;
    std::string number;
};
void PatchSmhHeader(SmhFileHeader& header,
                    uint16_t kind,
                    const std::optional<SmhDestination>& destination,
                    const std::string& stationNumber,
                    const std::string& stationName);
