// Reader throughput on a generated log of 200,000 plays, once for each line
// end the game's logs may have, and on five million one-byte lines, where
// finding line ends is nearly all the work. The three line ends should read
// at the same speed; and the first once more on every core.
#include "core/log/ScoreLogReader.h"
#include "support/LogGenerator.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using tolvane::testing::LineEnd;

std::string_view nameOf(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf: return "crlf";
    case LineEnd::Lf: return "lf";
    case LineEnd::Cr: return "cr";
    }
    return {};
}

// The same plays in each line end, written once a process.
std::string logPath(LineEnd lineEnd)
{
    const std::string path
        = (std::filesystem::temp_directory_path() / ("tolvane-bench-200k-" + std::string(nameOf(lineEnd)) + ".txt"))
              .string();
    static bool written[3] = {};
    bool& done = written[static_cast<int>(lineEnd)];
    if (!done) {
        tolvane::testing::GeneratorOptions options;
        options.plays = 200000;
        options.meanGapMinutes = 30;
        options.lineEnd = lineEnd;
        tolvane::testing::writeLog(path, options);
        done = true;
    }
    return path;
}

void readLog(benchmark::State& state, LineEnd lineEnd, int threads = 1)
{
    const std::string path = logPath(lineEnd);
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    std::int64_t plays = 0;
    for (auto _ : state) {
        std::int64_t titleBytes = 0;
        tolvane::LogReaderCallbacks callbacks;
        callbacks.onPlay = [&](tolvane::PlayRecord&& p) { titleBytes += static_cast<std::int64_t>(p.title.size()); };
        callbacks.onPlayDate = [](const tolvane::PlayDate& d) { benchmark::DoNotOptimize(d.hour); };
        tolvane::LogReadOptions options;
        options.threads = threads;
        const tolvane::LogReadResult result
            = tolvane::ScoreLogReader(tolvane::Filter{}, callbacks, nullptr, options).read(path);
        benchmark::DoNotOptimize(titleBytes);
        plays += result.accepted;
    }
    state.SetBytesProcessed(bytes * static_cast<std::int64_t>(state.iterations()));
    state.counters["plays/s"] = benchmark::Counter(static_cast<double>(plays), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(readLog, crlf, LineEnd::CrLf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(readLog, lf, LineEnd::Lf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(readLog, cr, LineEnd::Cr)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// The same log in parts on every core the process may use: wall-clock time.
BENCHMARK_CAPTURE(readLog, crlf_all_cores, LineEnd::CrLf, 0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

// Five million lines of "a": a line end every two or three bytes.
void readShortLines(benchmark::State& state, std::string_view lineEnd)
{
    std::string bytes;
    bytes.reserve(5000000 * (1 + lineEnd.size()));
    for (int i = 0; i < 5000000; ++i)
        bytes.append("a").append(lineEnd);
    for (auto _ : state) {
        const tolvane::LogReadResult result = tolvane::ScoreLogReader(tolvane::Filter{}, {}).readBytes(bytes);
        benchmark::DoNotOptimize(result.entries);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(readShortLines, crlf, std::string_view("\r\n"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readShortLines, lf, std::string_view("\n"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readShortLines, cr, std::string_view("\r"))->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
