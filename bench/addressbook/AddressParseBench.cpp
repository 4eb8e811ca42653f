// Reading a 10,000-entry "Addr.csv": splitting it into lines and parsing each, as loading does before the rows
// are shown. Reported as bytes of file per second.
#include <benchmark/benchmark.h>

#include "common/core/AddressLine.h"
#include "common/testing/SampleBook.h"

static void ParseTenThousandEntryBook(benchmark::State& state) {
    const std::string book = SampleAddressBook(10000);
    size_t fields = 0;
    for (auto _ : state) {
        size_t position = 0;
        std::string line;
        while (NextAddressLine(book, position, line)) {
            const AddressEntry entry = ParseAddressLine(line);
            fields += entry.name.size() + entry.remarks.size();
        }
        benchmark::DoNotOptimize(fields);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * book.size()));
    state.counters["file_bytes"] = static_cast<double>(book.size());
}
BENCHMARK(ParseTenThousandEntryBook)->Unit(benchmark::kMillisecond);

static void FormatTenThousandEntryBook(benchmark::State& state) {
    const std::string book = SampleAddressBook(10000);
    std::vector<AddressEntry> entries;
    size_t position = 0;
    std::string line;
    while (NextAddressLine(book, position, line))
        entries.push_back(ParseAddressLine(line));
    for (auto _ : state) {
        std::string out;
        out.reserve(book.size());
        for (const AddressEntry& entry : entries)
            AppendTextModeOutput(out, FormatAddressLine(entry));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * book.size()));
}
BENCHMARK(FormatTenThousandEntryBook)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
