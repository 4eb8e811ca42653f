// Makes an SMH fax document from bilevel page images (PBM or 1-bit BMP), for the demo and for tests by hand.
//   smhwrite [--standard] [--no-eol] [--fill] [--kind N] [--decode-param N] [--station-number TEXT]
//            [--station-name TEXT] [--dest-number TEXT] [--dest-name TEXT] OUT.smh PAGE...
// Texts are stored as given (code page 936 bytes for Chinese).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "companions/kdmlib/core/PbmFile.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "common/core/SmhWriter.h"

namespace {
int Usage() {
    fprintf(stderr,
            "usage: smhwrite [--standard] [--no-eol] [--fill] [--kind N] [--decode-param N] [--station-number T]\n"
            "                [--station-name T] [--dest-number T] [--dest-name T] OUT.smh PAGE...\n");
    return 2;
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    bool standard = false;
    mh::MhEncodeOptions coding;
    long kind = 1;
    unsigned long decodeParam = 0;
    std::string stationNumber, stationName, destNumber, destName;
    int i = 1;
    for (; i < argc && strncmp(argv[i], "--", 2) == 0; ++i) {
        std::string option = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (option == "--standard") {
            standard = true;
        } else if (option == "--no-eol") {
            coding.eol = false;
        } else if (option == "--fill") {
            coding.fillBits = true;
        } else if (option == "--kind" && (v = value())) {
            kind = strtol(v, nullptr, 10);
        } else if (option == "--decode-param" && (v = value())) {
            decodeParam = strtoul(v, nullptr, 0);
        } else if (option == "--station-number" && (v = value())) {
            stationNumber = v;
        } else if (option == "--station-name" && (v = value())) {
            stationName = v;
        } else if (option == "--dest-number" && (v = value())) {
            destNumber = v;
        } else if (option == "--dest-name" && (v = value())) {
            destName = v;
        } else {
            return Usage();
        }
    }
    if (argc - i < 2)
        return Usage();
    const char* out = argv[i++];

    std::vector<SmhPageSpec> pages;
    for (; i < argc; ++i) {
        std::vector<uint8_t> file;
        if (!ReadFile(argv[i], file)) {
            fprintf(stderr, "smhwrite: cannot read %s\n", argv[i]);
            return 1;
        }
        auto image = mh::ReadPageImage(file);
        if (!image) {
            fprintf(stderr, "smhwrite: %s is not a PBM or 1-bit BMP image\n", argv[i]);
            return 1;
        }
        pages.emplace_back(mh::EncodeMh(*image, coding));
    }

    SmhFileHeader header = MakeSmhHeader(static_cast<uint32_t>(pages.size()), standard);
    header.SetDocKind(static_cast<uint16_t>(kind));
    header.SetDecodeParam(static_cast<uint32_t>(decodeParam));
    header.SetStationNumber(stationNumber);
    header.SetStationName(stationName);
    header.SetDestNumber(destNumber);
    header.SetDestName(destName);
    std::vector<uint8_t> document = BuildSmhDocument(header, pages);
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(document.data()), static_cast<std::streamsize>(document.size()));
    if (!file) {
        fprintf(stderr, "smhwrite: cannot write %s\n", out);
        return 1;
    }
    return 0;
}
