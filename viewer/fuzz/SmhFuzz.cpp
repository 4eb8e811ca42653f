// Validation, page walking and page loading of an untrusted SMH file, as the Viewer does when it opens one.
#include <cstddef>
#include <cstdint>

#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/Stretch.h"
#include "common/core/MemorySmhSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemorySmhSource source(data, size);
    auto header = ReadSmhFileHeader(source);
    if (!header || CheckSmhHeader(*header) != SmhHeaderCheck::kValid)
        return 0;
    // The first pages and the last, as paging through the document would ask for them.
    const uint32_t count = header->PageCount();
    for (uint32_t n : {1u, 2u, 3u, count / 2, count}) {
        auto page = LocateSmhPage(source, *header, n);
        if (!page)
            continue;
        if (page->dataOffset + page->codedBytes > size || page->codedBytes == 0)
            __builtin_trap();
        auto decoded = kdm::DecodeMh({data + page->dataOffset, page->codedBytes}, header->DecodeParam());
        if (decoded)
            kdm::StretchPage(decoded->image, header->StretchSelector() == kSmhStandardResolution ? 0 : 1);
    }
    PatchSmhHeader(*header, 2, SmhDestination{"name", "123"}, "456", "");
    return 0;
}
