// MH page decoding: our decoder against libtiff's CCITT G3 1-D decoder on the same coded bytes, plus the Viewer's
// page path (decode, stretch, packed bitmap). Prints a table of ours, libtiff and the ratio at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "companions/kdmlib/core/BmpFile.h"
#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/Stretch.h"
#include "tools/mh/LibtiffG3.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"

namespace {

using kdm::BilevelImage;

struct Page {
    const char* name;
    BilevelImage image;
};

const std::vector<Page>& Pages() {
    static const std::vector<Page> pages = {
        {"typed-fine", mh::TypedLetterPage(mh::kA4FineRows)},
        {"typed-standard", mh::TypedLetterPage(mh::kA4StandardRows)},
        {"cover", mh::CoverPage()},
        {"halftone", mh::HalftonePage()},
    };
    return pages;
}

void Ours(benchmark::State& state, const BilevelImage* page, bool fill) {
    const std::vector<uint8_t> coded = mh::EncodeMh(*page, {true, fill, true});
    const auto check = kdm::DecodeMh(coded, 1);
    if (!check || !(check->image == *page)) {
        state.SkipWithError("our decoder did not reproduce the page");
        return;
    }
    for (auto _ : state) {
        auto decoded = kdm::DecodeMh(coded, 1);
        benchmark::DoNotOptimize(decoded);
    }
    state.counters["coded_bytes"] = static_cast<double>(coded.size());
}

void Libtiff(benchmark::State& state, const BilevelImage* page, bool fill) {
    const std::vector<uint8_t> coded = mh::EncodeMh(*page, {true, fill, true});
    mh::LibtiffG3Reader reader(mh::LibtiffG3FileFromStrip(page->width, page->height, coded, fill));
    std::vector<uint8_t> rows;
    if (!reader.ok() || !(reader.DecodeImage() == *page)) {
        state.SkipWithError("libtiff did not reproduce the page");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.Decode(rows));
        benchmark::ClobberMemory();
    }
}

// What the Viewer does per page: MHtoBmp, StretchBmp on the BMP image, then the BMP image to a packed bitmap.
void ViewerPagePath(benchmark::State& state) {
    const BilevelImage& page = Pages()[0].image;
    const std::vector<uint8_t> coded = mh::EncodeMh(page);
    for (auto _ : state) {
        auto decoded = kdm::DecodeMh(coded, 1);
        const std::vector<uint8_t> bmp = kdm::BilevelBmpFile(decoded->image);
        auto read = kdm::ReadBilevelBmp(bmp);
        auto stretched = kdm::StretchPage(read->image, 1);
        const std::vector<uint8_t> stretchedBmp = kdm::BilevelBmpFile(*stretched, read->colours);
        std::vector<uint8_t> packed(stretchedBmp.begin() + kdm::kBmpFileHeaderSize, stretchedBmp.end());
        benchmark::DoNotOptimize(packed);
    }
}

class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                ms_[run.benchmark_name()] = run.GetAdjustedRealTime();  // in the unit set, ms
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintTable() const {
        std::printf("\n%-16s %-6s %10s %10s %7s\n", "page", "fill", "ours ms", "libtiff ms", "ratio");
        for (const Page& page : Pages()) {
            for (const char* fill : {"no", "yes"}) {
                const std::string key = std::string(page.name) + "/fill:" + fill;
                const auto ours = ms_.find("ours/" + key);
                const auto peer = ms_.find("libtiff/" + key);
                if (ours != ms_.end() && peer != ms_.end()) {
                    std::printf("%-16s %-6s %10.3f %10.3f %6.2fx\n", page.name, fill, ours->second, peer->second,
                                peer->second / ours->second);
                }
            }
        }
        const auto path = ms_.find("viewer-page-path/typed-fine");
        if (path != ms_.end()) {
            std::printf("typed fine page decoded + stretched + packed bitmap: %.3f ms\n", path->second);
        }
    }

private:
    std::map<std::string, double> ms_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Page& page : Pages()) {
        for (bool fill : {false, true}) {
            const std::string key = std::string(page.name) + (fill ? "/fill:yes" : "/fill:no");
            benchmark::RegisterBenchmark(("ours/" + key).c_str(), Ours, &page.image, fill)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("libtiff/" + key).c_str(), Libtiff, &page.image, fill)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("viewer-page-path/typed-fine", ViewerPagePath)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
