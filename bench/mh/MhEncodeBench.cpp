// MH page encoding, as the scanner's source writes its scan file: our encoder against libtiff's CCITT G3 1-D
// encoder (TIFFWriteEncodedStrip) on the same pages. Prints a table of ours, libtiff and the ratio at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "companions/kdmlib/core/MhDecoder.h"
#include "companions/kdmlib/core/MhEncoder.h"
#include "companions/kdmlib/core/SamplePages.h"
#include "tools/mh/LibtiffG3.h"

namespace {

using kdm::BilevelImage;

struct Page {
    const char* name;
    BilevelImage image;
};

const std::vector<Page>& Pages() {
    static const std::vector<Page> pages = {
        {"typed-fine", mh::TypedLetterPage(mh::kA4FineRows)},
        {"photo-fine", mh::PhotographPage(mh::kA4FineRows)},
    };
    return pages;
}

void Ours(benchmark::State& state, const BilevelImage* page) {
    const auto check = kdm::DecodeMh(mh::EncodeMh(*page), 1);
    if (!check || !(check->image == *page)) {
        state.SkipWithError("our coding does not decode to the page");
        return;
    }
    for (auto _ : state) {
        auto coded = mh::EncodeMh(*page);
        benchmark::DoNotOptimize(coded);
    }
}

void Libtiff(benchmark::State& state, const BilevelImage* page) {
    mh::LibtiffG3Encoder encoder(*page, false);
    encoder.Open();
    encoder.Write();
    mh::LibtiffG3Reader reader(encoder.Close());
    if (!reader.ok() || !(reader.DecodeImage() == *page)) {
        state.SkipWithError("libtiff's coding does not decode to the page");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        encoder.Open();
        state.ResumeTiming();
        benchmark::DoNotOptimize(encoder.Write());
        state.PauseTiming();
        encoder.Close();
        state.ResumeTiming();
    }
}

class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                ms_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintTable() const {
        std::printf("\n%-12s %10s %10s %7s\n", "page", "ours ms", "libtiff ms", "ratio");
        for (const Page& page : Pages()) {
            const auto ours = ms_.find(std::string("encode-ours/") + page.name);
            const auto peer = ms_.find(std::string("encode-libtiff/") + page.name);
            if (ours != ms_.end() && peer != ms_.end()) {
                std::printf("%-12s %10.3f %10.3f %6.2fx\n", page.name, ours->second, peer->second,
                            peer->second / ours->second);
            }
        }
    }

private:
    std::map<std::string, double> ms_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Page& page : Pages()) {
        benchmark::RegisterBenchmark((std::string("encode-ours/") + page.name).c_str(), Ours, &page.image)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("encode-libtiff/") + page.name).c_str(), Libtiff, &page.image)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
