#include "common/core/SmhWriter.h"

#include <algorithm>

namespace {
// Filler in gaps and unused page space, so a reader that fails to skip it decodes garbage.
constexpr uint8_t kFiller = 0xA5;
}  // namespace

SmhFileHeader MakeSmhHeader(uint32_t pages, bool standardResolution) {
    SmhFileHeader header;
    header.SetDocKind(1);
    header.SetFormatId(kSmhFormatId);
    header.SetPageCount(pages);
    header.SetStretchSelector(standardResolution ? kSmhStandardResolution : kSmhFineResolution);
    return header;
}

std::vector<uint8_t> BuildSmhDocument(const SmhFileHeader& header, const std::vector<SmhPageSpec>& pages) {
    std::vector<uint8_t> out(header.raw.begin(), header.raw.end());
    size_t offset = out.size();
    for (const SmhPageSpec& page : pages) {
        const uint32_t length = static_cast<uint32_t>(page.coded.size());
        const uint32_t advance = page.advanceBytes.value_or(length);
        SmhPageHeader ph;
        ph.SetGapBytes(page.gapBytes);
        ph.SetCodedBytes(page.codedBytesField.value_or(length));
        ph.SetAdvanceBytes(advance);
        const size_t data = offset + kSmhPageHeaderSize + page.gapBytes;
        // The next record pads up to where this one's advance points, so a lying advance on the last page costs
        // nothing.
        const size_t end = data + length;
        if (out.size() < end)
            out.resize(end, kFiller);
        std::copy(ph.raw.begin(), ph.raw.end(), out.begin() + offset);
        std::fill(out.begin() + offset + kSmhPageHeaderSize, out.begin() + data, kFiller);
        std::copy(page.coded.begin(), page.coded.end(), out.begin() + data);
        offset = data + advance;
    }
    return out;
}
