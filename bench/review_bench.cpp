// The records view, the year in review and its share card on a generated log
// of 200,000 plays, built from the data list in memory as the window builds
// them.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/review/Records.h"
#include "core/review/YearReview.h"
#include "gui/review/ShareCard.h"
#include "support/LogGenerator.h"

#include <QBuffer>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

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

const Analysis& analysis()
{
    static const Analysis* a = generatedAnalysis();
    return *a;
}

void recordsView(benchmark::State& state)
{
    const Analysis& a = analysis();
    const RowList rows = allRows(a.plays);
    for (auto _ : state)
        benchmark::DoNotOptimize(buildRecordsView(a.plays, rows));
}
BENCHMARK(recordsView)->Unit(benchmark::kMillisecond);

// What the year page does when it is given new rows: the source, then the last year.
void yearPage(benchmark::State& state)
{
    const Analysis& a = analysis();
    const RowList rows = allRows(a.plays);
    for (auto _ : state) {
        const YearReviewSource source(a.plays, rows, kDefaultSessionGap);
        benchmark::DoNotOptimize(source.review(*source.lastYear()));
    }
}
BENCHMARK(yearPage)->Unit(benchmark::kMillisecond);

// Choosing another year: that year and the one before (for the changes).
void yearSwitch(benchmark::State& state)
{
    const Analysis& a = analysis();
    const YearReviewSource source(a.plays, allRows(a.plays), kDefaultSessionGap);
    const int year = source.years()[source.years().size() / 2];
    for (auto _ : state) {
        benchmark::DoNotOptimize(source.review(year));
        benchmark::DoNotOptimize(source.review(year - 1));
    }
    state.counters["years"] = static_cast<double>(source.years().size());
}
BENCHMARK(yearSwitch)->Unit(benchmark::kMillisecond);

void shareCardPng(benchmark::State& state)
{
    const Analysis& a = analysis();
    const YearReviewSource source(a.plays, allRows(a.plays), kDefaultSessionGap);
    const YearReview review = *source.review(*source.lastYear());
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        renderShareCard(review).save(&buffer, "PNG");
        benchmark::DoNotOptimize(png.size());
    }
}
BENCHMARK(shareCardPng)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
