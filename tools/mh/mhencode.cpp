// mhencode: codes a bilevel page (PBM P1/P4 or 1-bit BMP) as Modified Huffman data.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/PbmFile.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: mhencode [--no-eol] [--fill] [--no-rtc] input.pbm|input.bmp output.mh\n"
                 "  --no-eol  no EOL before the lines\n"
                 "  --fill    fill bits so that every EOL ends on a byte boundary\n"
                 "  --no-rtc  no RTC after the last line\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    mh::MhEncodeOptions options;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-eol") == 0) {
            options.eol = false;
        } else if (std::strcmp(argv[i], "--fill") == 0) {
            options.fillBits = true;
        } else if (std::strcmp(argv[i], "--no-rtc") == 0) {
            options.rtc = false;
        } else if (argv[i][0] == '-') {
            return Usage();
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.size() != 2) {
        return Usage();
    }
    std::ifstream in(paths[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mhencode: cannot open %s\n", paths[0].c_str());
        return 1;
    }
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto page = mh::ReadPageImage(file);
    if (!page) {
        std::fprintf(stderr, "mhencode: %s is neither a PBM nor a 1-bit BMP image\n", paths[0].c_str());
        return 1;
    }
    const std::vector<uint8_t> coded = mh::EncodeMh(*page, options);
    std::ofstream out(paths[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(coded.data()), static_cast<std::streamsize>(coded.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "mhencode: cannot write %s\n", paths[1].c_str());
        return 1;
    }
    return 0;
}
