// The insight views on a generated log of 200,000 plays, built from the data
// list in memory as the window builds them.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/PeriodView.h"
#include "core/history/PlayHistory.h"
#include "core/insights/PlaySearch.h"
#include "core/insights/Sessions.h"
#include "core/insights/SongView.h"
#include "core/insights/ViewPeriod.h"
#include "support/LogGenerator.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace tolvane;

Analysis* generatedAnalysis()
{
    testing::GeneratorOptions options;
    options.plays = 200000;
    options.meanGapMinutes = 30;
    auto* built = new Analysis;
    AnalysisRun(*built, Filter{}, GraphSettings{}, {}).runBytes(testing::generateLog(options).bytes);
    return built;
}

PlayHistory* generatedHistory()
{
    testing::GeneratorOptions options;
    options.plays = 200000;
    options.meanGapMinutes = 30;
    auto* built = new PlayHistory;
    const std::string bytes = testing::generateLog(options).bytes;
    built->load({LogSource{{}, bytes}}, Filter{}, GraphSettings{});
    return built;
}

const Analysis& analysis()
{
    static const Analysis* a = generatedAnalysis();
    return *a;
}

void searchKeystroke(benchmark::State& state)
{
    const PlaySearch search(analysis().plays);
    for (auto _ : state)
        benchmark::DoNotOptimize(search.matchFlags("ｓｔａｒ"));
}
BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);

void searchIndexBuild(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PlaySearch(analysis().plays).size());
}
BENCHMARK(searchIndexBuild)->Unit(benchmark::kMillisecond);

void songView(benchmark::State& state)
{
    const Analysis& a = analysis();
    const RowList rows = allRows(a.plays);
    const std::string title = a.plays.row(0).title;
    for (auto _ : state)
        benchmark::DoNotOptimize(buildSongView(a.plays, rows, a.rankings, title));
}
BENCHMARK(songView)->Unit(benchmark::kMillisecond);

void calendarYear(benchmark::State& state)
{
    const Analysis& a = analysis();
    for (auto _ : state) {
        const PlayCalendar c = buildPlayCalendar(inDateOrder(a.plays, allRows(a.plays)));
        benchmark::DoNotOptimize(c.daysOfYear(c.years.back().year));
    }
}
BENCHMARK(calendarYear)->Unit(benchmark::kMillisecond);

void sessionsAndStreaks(benchmark::State& state)
{
    const Analysis& a = analysis();
    for (auto _ : state) {
        const auto timeline = inDateOrder(a.plays, allRows(a.plays));
        const auto sessions = buildSessions(a.plays, timeline, kDefaultSessionGap);
        benchmark::DoNotOptimize(buildStreaks(buildPlayCalendar(timeline), sessions));
    }
}
BENCHMARK(sessionsAndStreaks)->Unit(benchmark::kMillisecond);

// A view period over the later half: the history narrowed (rows, rankings, chart counts, charts).
void viewPeriodNarrowing(benchmark::State& state)
{
    static PlayHistory* history = generatedHistory();
    const Analysis& a = history->analysis();
    const ViewSpan span{std::floor(a.plays.row(a.plays.size() / 2).date), 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(history->narrow(span));
}
BENCHMARK(viewPeriodNarrowing)->Unit(benchmark::kMillisecond);

// The heatmap of the last year, from the view's rows: date order, the days
// counted, the year's cells.
void heatmapYear(benchmark::State& state)
{
    const Analysis& a = analysis();
    const RowList rows = allRows(a.plays);
    for (auto _ : state) {
        const PlayCalendar c = buildPlayCalendar(inDateOrder(a.plays, rows));
        benchmark::DoNotOptimize(c.daysOfYear(c.years.back().year));
    }
}
BENCHMARK(heatmapYear)->Unit(benchmark::kMillisecond);

void sessionsOnly(benchmark::State& state)
{
    const Analysis& a = analysis();
    const RowList rows = allRows(a.plays);
    for (auto _ : state)
        benchmark::DoNotOptimize(buildSessions(a.plays, inDateOrder(a.plays, rows), kDefaultSessionGap));
}
BENCHMARK(sessionsOnly)->Unit(benchmark::kMillisecond);

void streaksOnly(benchmark::State& state)
{
    const Analysis& a = analysis();
    const auto timeline = inDateOrder(a.plays, allRows(a.plays));
    const auto sessions = buildSessions(a.plays, timeline, kDefaultSessionGap);
    for (auto _ : state)
        benchmark::DoNotOptimize(buildStreaks(buildPlayCalendar(timeline), sessions));
}
BENCHMARK(streaksOnly)->Unit(benchmark::kMillisecond);

// Switching the view period as the window does: the analysis narrowed in
// place (rows, rankings, chart counts, period chart, totals charts), then the
// calendar, sessions and streaks of the new rows. Alternates between the
// whole log and its last 12 months, so every switch does the full work.
void switchViewPeriod(benchmark::State& state)
{
    static PlayHistory* history = generatedHistory();
    const Analysis* a = &history->analysis();
    const ViewSpan year = presetSpan(PeriodPreset::Last12Months, lastPlayDay(a->plays));
    bool whole = false;
    for (auto _ : state) {
        history->narrow(whole ? ViewSpan{} : year);
        benchmark::DoNotOptimize(buildHabitFigures(a->plays, a->rows, kDefaultSessionGap));
        whole = !whole;
    }
}
BENCHMARK(switchViewPeriod)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
