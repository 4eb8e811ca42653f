// Reading a receive log natively: splitting it into lines and parsing each into the list, as loading does; date-
// ordered merging of pending records above it; and formatting it back for saving. For 1,000 and 10,000 rows, so
// that a step quadratic in the rows shows as a tenfold-plus jump. Reported as bytes of log per second.
#include <benchmark/benchmark.h>

#include "common/core/LogLine.h"
#include "common/core/LogList.h"
#include "common/core/TextModeLines.h"
#include "common/testing/SampleLogs.h"

static void LoadReceiveLog(benchmark::State& state) {
    const std::string log = SampleReceiveLog(static_cast<int>(state.range(0)), kSampleLogNewest);
    for (auto _ : state) {
        LogList list(ReceiveLogLayout(), kSampleLogNewest);
        list.InsertLines(log, LogInsertMode::kAppend);
        benchmark::DoNotOptimize(list.Size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.size()));
}
BENCHMARK(LoadReceiveLog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

static void MergeFiftyPendingThenLoad(benchmark::State& state) {
    const std::string log = SampleReceiveLog(static_cast<int>(state.range(0)), kSampleLogNewest);
    // Fifty receptions of the last hour, arriving out of order.
    std::vector<std::string> pending;
    for (int i = 0; i < 50; ++i)
        pending.push_back(SampleReceiveLog(1, LogDateBefore(kSampleLogNewest, -(i * 37 % 50) * 60), 60, 1));
    for (auto _ : state) {
        LogList list(ReceiveLogLayout(), kSampleLogNewest);
        for (const std::string& file : pending)
            list.InsertLines(file, LogInsertMode::kByDate);
        list.InsertLines(log, LogInsertMode::kAppend);
        benchmark::DoNotOptimize(list.Size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.size()));
}
BENCHMARK(MergeFiftyPendingThenLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

static void FormatReceiveLog(benchmark::State& state) {
    const std::string log = SampleReceiveLog(static_cast<int>(state.range(0)), kSampleLogNewest);
    LogList list(ReceiveLogLayout(), kSampleLogNewest);
    list.InsertLines(log, LogInsertMode::kAppend);
    for (auto _ : state) {
        std::string out;
        out.reserve(log.size());
        for (size_t i = 0; i < list.Size(); ++i)
            AppendTextModeOutput(out, FormatLogLine(list.At(i)));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.size()));
}
BENCHMARK(FormatReceiveLog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
