#include <windows.h>
#include <lzexpand.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/szdd/core/Szdd.h"
#include "tools/szdd/tests/SzddSamples.h"

// Setup expands the disks' files with lz32: what we compress must come back through it byte for byte, under the
// name GetExpandedName gives back.
namespace {

namespace fs = std::filesystem;
using szdd_test::Sample;

class SzddLz32 : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("szdd-lz32-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.flush()) << path;
        return path;
    }

    fs::path dir_;
};

TEST_F(SzddLz32, LzCopyRestoresOurFiles) {
    for (const Sample& sample : szdd_test::Samples()) {
        std::string source = Write("SAMPLE.BI_", szdd::Compress(sample.bytes.data(), sample.bytes.size(), 'N'));
        std::string target = (dir_ / "SAMPLE.BIN").string();
        OFSTRUCT of{};
        const INT in = LZOpenFileA(source.data(), &of, OF_READ);
        ASSERT_GE(in, 0) << sample.name;
        // The header's length, which Setup compares with what LZCopy wrote: lz32 reports no truncation itself.
        EXPECT_EQ(LZSeek(in, 0, 2), static_cast<LONG>(sample.bytes.size())) << sample.name;
        LZSeek(in, 0, 0);
        const INT out = LZOpenFileA(target.data(), &of, OF_CREATE);
        ASSERT_GE(out, 0) << sample.name;
        EXPECT_EQ(LZCopy(in, out), static_cast<LONG>(sample.bytes.size())) << sample.name;
        LZClose(out);
        LZClose(in);
        std::ifstream expanded(target, std::ios::binary);
        EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(expanded), std::istreambuf_iterator<char>()),
                  sample.bytes)
            << sample.name;
    }
}

TEST_F(SzddLz32, GetExpandedNameRestoresTheName) {
    // Win32 opens "FOO." as "FOO".
    const struct {
        const char* name;
        const char* expanded;
    } cases[] = {{"VIEWER.EXE", "VIEWER.EXE"},
                 {"DIALDIR.DLL", "DIALDIR.DLL"},
                 {"readme.txt", "readme.txt"},
                 {"A.B", "A.B"},
                 {"FOO", "FOO."},
                 {"KDMTW.DS", "KDMTW.DS"}};
    for (const auto& c : cases) {
        const szdd::CompressedName compressed = szdd::CompressName(c.name);
        std::string path = Write(compressed.name, szdd::Compress(nullptr, 0, compressed.lastChar));
        char expanded[MAX_PATH] = {};
        ASSERT_EQ(GetExpandedNameA(path.data(), expanded), 1) << c.name;
        EXPECT_EQ(fs::path(expanded).filename().string(), c.expanded) << c.name;
    }
}

}  // namespace
