// Reader throughput on a generated log of 200,000 plays.
#include "core/log/ScoreLogReader.h"
#include "support/LogGenerator.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

const std::string& logPath()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "tolvane-bench-200k.txt").string();
        tolvane::testing::GeneratorOptions options;
        options.plays = 200000;
        options.meanGapMinutes = 30;
        tolvane::testing::writeLog(p, options);
        return p;
    }();
    return path;
}

void readLog(benchmark::State& state)
{
    const std::string& path = logPath();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    std::int64_t plays = 0;
    for (auto _ : state) {
        std::int64_t titleBytes = 0;
        tolvane::LogReaderCallbacks callbacks;
        callbacks.onPlay = [&](tolvane::PlayRecord&& p) { titleBytes += static_cast<std::int64_t>(p.title.size()); };
        callbacks.onPlayDate = [](const tolvane::PlayDate& d) { benchmark::DoNotOptimize(d.hour); };
        const tolvane::LogReadResult result = tolvane::ScoreLogReader(tolvane::Filter{}, callbacks).read(path);
        benchmark::DoNotOptimize(titleBytes);
        plays += result.accepted;
    }
    state.SetBytesProcessed(bytes * static_cast<std::int64_t>(state.iterations()));
    state.counters["plays/s"] = benchmark::Counter(static_cast<double>(plays), benchmark::Counter::kIsRate);
}
BENCHMARK(readLog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
