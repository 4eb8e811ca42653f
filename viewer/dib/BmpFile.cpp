#include "viewer/dib/BmpFile.h"

#include <array>

#include "common/core/ByteOrder.h"
#include "framework/Handles.h"
#include "viewer/dib/core/BmpImage.h"

namespace {
bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return size <= MAXDWORD && WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}
}  // namespace

BmpWrite WriteBmpFile(HGLOBAL dib, HANDLE file) {
    if (!dib)
        return BmpWrite::kNotWritable;
    CGlobalLock lock(dib);
    if (!lock.Data())
        return BmpWrite::kNotWritable;
    auto* bytes = static_cast<uint8_t*>(lock.Data());
    const DibBytes packed(bytes, lock.Size());
    const uint64_t imageSize = BmpImageSize(packed);
    if (imageSize == 0)
        return BmpWrite::kNotWritable;
    WriteLe32(bytes + kDibSizeImageOffset, static_cast<uint32_t>(DibImageSize(packed)));
    std::array<uint8_t, kBmpFileHeaderSize> header{};
    WriteBmpFileHeader(packed, header);
    if (!WriteAll(file, header.data(), header.size()) ||
        !WriteAll(file, bytes, static_cast<size_t>(imageSize - kBmpFileHeaderSize)))
        return BmpWrite::kFileError;
    return BmpWrite::kWritten;
}
