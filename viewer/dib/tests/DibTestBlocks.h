#pragma once
#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/Handles.h"

// Global blocks holding given bytes, and the bytes of a block, for the routines that take blocks.
inline CGlobalBlock BlockOf(const void* bytes, size_t size) {
    CGlobalBlock block(GlobalAlloc(GHND, size));
    CGlobalLock lock(block.Get());
    if (lock.Data())
        std::memcpy(lock.Data(), bytes, size);
    return block;
}

inline CGlobalBlock BlockOf(const std::vector<uint8_t>& bytes) {
    return BlockOf(bytes.data(), bytes.size());
}

inline std::vector<uint8_t> BytesOf(HGLOBAL block) {
    CGlobalLock lock(block);
    const auto* data = static_cast<const uint8_t*>(lock.Data());
    return data ? std::vector<uint8_t>(data, data + lock.Size()) : std::vector<uint8_t>();
}
