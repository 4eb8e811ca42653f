#pragma once
#include <cstring>
#include <vector>

#include "common/core/SmhFormat.h"

// An SMH document held in memory: for tests, the fuzz target and the writer.
class CMemorySmhSource : public ISmhSource {
public:
    CMemorySmhSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit CMemorySmhSource(const std::vector<uint8_t>& bytes) : CMemorySmhSource(bytes.data(), bytes.size()) {}

    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
        if (offset > m_size || count > m_size - offset)
            return false;
        memcpy(buffer, m_data + offset, count);
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};
