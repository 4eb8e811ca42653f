#include "common/core/SmhFormat.h"

#include <algorithm>
#include <cstring>

#include "framework/core/Mbcs.h"
#include "common/core/ByteOrder.h"

namespace {
enum Offset : size_t {
    kDocKind = 4,
    kFormatId = 6,
    kPageCount = 8,
    kMarkCount = 12,
    kStretchSelector = 16,
    kDecodeParam = 20,
    kMarkFlag = 28,
    kStationNumber = 146,
    kStationName = 179,
    kDestNumber = 244,
    kDestName = 277,
};
enum PageOffset : size_t { kGapBytes = 8, kCodedBytes = 16, kAdvanceBytes = 20 };

std::string FieldText(const uint8_t* field, size_t width) {
    const uint8_t* end = std::find(field, field + width, 0);
    return std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(end - field));
}

void SetFieldText(uint8_t* field, size_t width, const std::string& text) {
    size_t length = FittingLength(text, width - 1);
    memset(field, 0, width);
    memcpy(field, text.data(), length);
}
}  // namespace

uint16_t SmhFileHeader::DocKind() const {
    return ReadLe16(&raw[kDocKind]);
}
uint16_t SmhFileHeader::FormatId() const {
    return ReadLe16(&raw[kFormatId]);
}
uint32_t SmhFileHeader::PageCount() const {
    return ReadLe32(&raw[kPageCount]);
}
uint32_t SmhFileHeader::MarkCount() const {
    return ReadLe32(&raw[kMarkCount]);
}
uint32_t SmhFileHeader::StretchSelector() const {
    return ReadLe32(&raw[kStretchSelector]);
}
uint32_t SmhFileHeader::DecodeParam() const {
    return ReadLe32(&raw[kDecodeParam]);
}
uint32_t SmhFileHeader::MarkFlag() const {
    return ReadLe32(&raw[kMarkFlag]);
}
std::string SmhFileHeader::StationNumber() const {
    return FieldText(&raw[kStationNumber], kSmhNumberField);
}
std::string SmhFileHeader::StationName() const {
    return FieldText(&raw[kStationName], kSmhNameField);
}
std::string SmhFileHeader::DestNumber() const {
    return FieldText(&raw[kDestNumber], kSmhNumberField);
}
std::string SmhFileHeader::DestName() const {
    return FieldText(&raw[kDestName], kSmhNameField);
}

void SmhFileHeader::SetDocKind(uint16_t v) {
    WriteLe16(&raw[kDocKind], v);
}
void SmhFileHeader::SetFormatId(uint16_t v) {
    WriteLe16(&raw[kFormatId], v);
}
void SmhFileHeader::SetPageCount(uint32_t v) {
    WriteLe32(&raw[kPageCount], v);
}
void SmhFileHeader::SetMarkCount(uint32_t v) {
    WriteLe32(&raw[kMarkCount], v);
}
void SmhFileHeader::SetStretchSelector(uint32_t v) {
    WriteLe32(&raw[kStretchSelector], v);
}
void SmhFileHeader::SetDecodeParam(uint32_t v) {
    WriteLe32(&raw[kDecodeParam], v);
}
void SmhFileHeader::SetMarkFlag(uint32_t v) {
    WriteLe32(&raw[kMarkFlag], v);
}
void SmhFileHeader::SetStationNumber(const std::string& t) {
    SetFieldText(&raw[kStationNumber], kSmhNumberField, t);
}
void SmhFileHeader::SetStationName(const std::string& t) {
    SetFieldText(&raw[kStationName], kSmhNameField, t);
}
void SmhFileHeader::SetDestNumber(const std::string& t) {
    SetFieldText(&raw[kDestNumber], kSmhNumberField, t);
}
void SmhFileHeader::SetDestName(const std::string& t) {
    SetFieldText(&raw[kDestName], kSmhNameField, t);
}
void SmhFileHeader::ClearStationNumber() {
    memset(&raw[kStationNumber], 0, kSmhNumberField - 1);
}
void SmhFileHeader::ClearStationName() {
    memset(&raw[kStationName], 0, kSmhNameField - 1);
}
void SmhFileHeader::ClearDestination() {
    memset(&raw[kDestNumber], 0, kSmhNumberField - 1);
    memset(&raw[kDestName], 0, kSmhNameField - 1);
}

uint32_t SmhPageHeader::GapBytes() const {
    return ReadLe32(&raw[kGapBytes]);
}
uint32_t SmhPageHeader::CodedBytes() const {
    return ReadLe32(&raw[kCodedBytes]);
}
uint32_t SmhPageHeader::AdvanceBytes() const {
    return ReadLe32(&raw[kAdvanceBytes]);
}
void SmhPageHeader::SetGapBytes(uint32_t v) {
    WriteLe32(&raw[kGapBytes], v);
}
void SmhPageHeader::SetCodedBytes(uint32_t v) {
    WriteLe32(&raw[kCodedBytes], v);
}
void SmhPageHeader::SetAdvanceBytes(uint32_t v) {
    WriteLe32(&raw[kAdvanceBytes], v);
}

SmhHeaderCheck CheckSmhHeader(const SmhFileHeader& header) {
    if (header.FormatId() != kSmhFormatId)
        return SmhHeaderCheck::kWrongFormat;
    if (header.PageCount() == 0)
        return SmhHeaderCheck::kNoPages;
    if (header.PageCount() == header.MarkCount() && header.DocKind() == 2 && header.MarkFlag() == 1)
        return SmhHeaderCheck::kRefused;
    return SmhHeaderCheck::kValid;
}

std::optional<SmhFileHeader> ReadSmhFileHeader(ISmhSource& source) {
    SmhFileHeader header;
    if (!source.ReadAt(0, header.raw.data(), header.raw.size()))
        return std::nullopt;
    return header;
}

std::optional<SmhPageLocation> LocateSmhPage(ISmhSource& source, const SmhFileHeader& header, uint32_t n) {
    if (n == 0 || n > header.PageCount())
        return std::nullopt;
    const uint64_t size = source.Size();
    uint64_t offset = kSmhFileHeaderSize;
    for (uint32_t i = 1;; ++i) {
        SmhPageHeader page;
        if (!source.ReadAt(offset, page.raw.data(), page.raw.size()))
            return std::nullopt;
        offset += kSmhPageHeaderSize + page.GapBytes();
        if (i == n) {
            if (page.CodedBytes() == 0 || offset > size || page.CodedBytes() > size - offset)
                return std::nullopt;
            return SmhPageLocation{offset, page.CodedBytes(), page};
        }
        offset += page.AdvanceBytes();
    }
}

bool AllSmhPagesPresent(ISmhSource& source, const SmhFileHeader& header) {
    const uint64_t size = source.Size();
    uint64_t offset = kSmhFileHeaderSize;
    for (uint32_t i = 1; i <= header.PageCount(); ++i) {
        SmhPageHeader page;
        if (!source.ReadAt(offset, page.raw.data(), page.raw.size()))
            return false;
        offset += kSmhPageHeaderSize + page.GapBytes();
        if (page.CodedBytes() == 0 || offset > size || page.CodedBytes() > size - offset)
            return false;
        offset += page.AdvanceBytes();
    }
    return true;
}

void PatchSmhHeader(SmhFileHeader& header,
                    uint16_t kind,
                    const std::optional<SmhDestination>& destination,
                    const std::string& stationNumber,
                    const std::string& stationName) {
    header.SetDocKind(kind);
    if (!destination) {
        header.ClearDestination();
        return;
    }
    header.SetDestNumber(destination->number);
    header.SetDestName(destination->name);
    if (stationNumber.empty())
        header.ClearStationNumber();
    else
        header.SetStationNumber(stationNumber);
    if (stationName.empty())
        header.ClearStationName();
    else
        header.SetStationName(stationName);
}
