#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tools/szdd/core/Szdd.h"
#include "tools/szdd/tests/SzddSamples.h"

// Against Debian's mscompress and msexpand, an independent implementation of the format, and over real files.
namespace {

namespace fs = std::filesystem;
using szdd_test::Sample;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::vector<uint8_t> bytes(fs::file_size(path));
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(in) << path;
    return bytes;
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.flush()) << path;
}

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

class SzddPeer : public testing::Test {
protected:
    void SetUp() override {
        if (!Shell("command -v mscompress >/dev/null && command -v msexpand >/dev/null"))
            GTEST_SKIP() << "mscompress and msexpand are missing: tools/setup-deps installs Debian's mscompress";
        std::string pattern = (fs::temp_directory_path() / "szdd-peer-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    fs::path dir_;
};

// The peers read and write a byte per system call; the samples up to a few hundred KB cross the window's wrap
// often enough, and the large one would take seconds.
std::vector<Sample> PeerSamples() {
    std::vector<Sample> samples = szdd_test::Samples();
    std::erase_if(samples, [](const Sample& s) { return s.bytes.size() > 1000000; });
    return samples;
}

TEST_F(SzddPeer, MsexpandRestoresOurFiles) {
    for (const Sample& sample : PeerSamples()) {
        const fs::path compressed = dir_ / "sample.bi_";
        const fs::path expanded = dir_ / "sample.bin";
        WriteBytes(compressed, szdd::Compress(sample.bytes.data(), sample.bytes.size(), 'n'));
        ASSERT_TRUE(Shell("msexpand <'" + compressed.string() + "' >'" + expanded.string() + "'")) << sample.name;
        EXPECT_EQ(ReadBytes(expanded), sample.bytes) << sample.name;
    }
}

// mscompress writes the wrong bytes for files shorter than 16 bytes (zeros in place of the data), so those are
// left out. Its longest match is 16 bytes and it parses greedily, so ours are never larger.
TEST_F(SzddPeer, WeRestoreMscompressFilesAndAreNoLarger) {
    for (const Sample& sample : PeerSamples()) {
        if (sample.bytes.size() < 16)
            continue;
        const fs::path original = dir_ / "sample.bin";
        WriteBytes(original, sample.bytes);
        ASSERT_TRUE(Shell("mscompress '" + original.string() + "' >/dev/null")) << sample.name;
        const std::vector<uint8_t> theirs = ReadBytes(dir_ / "sample.bin_");
        fs::remove(dir_ / "sample.bin_");
        EXPECT_EQ(szdd::Expand(theirs.data(), theirs.size()), sample.bytes) << sample.name;
        EXPECT_LE(szdd::Compress(sample.bytes.data(), sample.bytes.size(), 'n').size(), theirs.size()) << sample.name;
    }
}

// Objects, libraries and programs are what the disks carry: every file this folder's build made round-trips.
TEST(SzddBuildFiles, EveryFileRoundTrips) {
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(SZDD_BUILD_FILES)) {
        if (!entry.is_regular_file())
            continue;
        const std::vector<uint8_t> bytes = ReadBytes(entry.path());
        const std::vector<uint8_t> compressed = szdd::Compress(bytes.data(), bytes.size(), 'x');
        EXPECT_EQ(szdd::Expand(compressed.data(), compressed.size()), bytes) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 3u);
}

}  // namespace
