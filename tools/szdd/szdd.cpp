// Compresses one file to SZDD as "COMPRESS -r" does, keeping the last character of IN's name for
// GetExpandedName:
//   szdd-compress IN OUT
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "tools/szdd/core/Szdd.h"

namespace {
// Nothing when the file cannot be read or is too large for the header's 32-bit length.
std::optional<std::vector<uint8_t>> ReadSmallFile(const char* path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > UINT32_MAX)
        return std::nullopt;
    std::vector<uint8_t> data(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(data.data()), size))
        return std::nullopt;
    return data;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: szdd-compress IN OUT\n");
        return 2;
    }
    const auto data = ReadSmallFile(argv[1]);
    if (!data) {
        fprintf(stderr, "szdd-compress: cannot read %s, or it is 4 GiB or more\n", argv[1]);
        return 1;
    }
    const std::vector<uint8_t> compressed =
        szdd::Compress(data->data(), data->size(), szdd::CompressName(argv[1]).lastChar);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(compressed.data()), static_cast<std::streamsize>(compressed.size()));
    if (!out.flush()) {
        fprintf(stderr, "szdd-compress: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
