// The data list's search and sort and the song page on a generated log of
// 200,000 plays, through the window's own classes with a table view attached
// (offscreen), as a user meets them.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/rankings/RankingView.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/PlayListModel.h"
#include "gui/search/PlayFilterProxy.h"
#include "gui/song/SongPage.h"
#include "support/LogGenerator.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

using namespace tolvane;

Analysis& analysis()
{
    static Analysis* a = [] {
        testing::GeneratorOptions options;
        options.plays = 200000;
        options.meanGapMinutes = 30;
        auto* built = new Analysis;
        AnalysisRun(*built, Filter{}, GraphSettings{}, {}).runBytes(testing::generateLog(options).bytes);
        return built;
    }();
    return *a;
}

// The data list as the window shows it.
struct DataList {
    PlayListModel model{analysis().plays};
    PlayFilterProxy proxy{analysis().plays};
    QTableView view;

    DataList()
    {
        proxy.setSourceModel(&model);
        proxy.setSortRole(SortRole);
        proxy.setDynamicSortFilter(false);
        view.setModel(&proxy);
        view.resize(1000, 600);
        view.show();
    }
};

// One keystroke: the search grows by a letter, then (next iteration) loses it.
void searchKeystroke(benchmark::State& state)
{
    DataList list;
    const QString title = QString::fromStdString(analysis().plays.row(0).title);
    const QString shorter = title.left(1);
    const QString longer = title.left(2);
    list.proxy.setSearchText(shorter); // the index is built on the first search
    bool grow = true;
    for (auto _ : state) {
        list.proxy.setSearchText(grow ? longer : shorter);
        benchmark::DoNotOptimize(list.proxy.rowCount());
        grow = !grow;
    }
    state.counters["shown"] = list.proxy.rowCount();
}
BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);

// A header click on one column of the whole list, from file order.
void sortColumn(benchmark::State& state)
{
    DataList list;
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        list.proxy.sort(column, Qt::AscendingOrder);
        benchmark::DoNotOptimize(list.proxy.index(0, 0));
        state.PauseTiming();
        list.proxy.restoreSourceOrder();
        state.ResumeTiming();
    }
}
BENCHMARK(sortColumn)->DenseRange(0, PlayListModel::ColumnCount - 1)->Unit(benchmark::kMillisecond);

// Back to file order from a sort by title.
void restoreFileOrder(benchmark::State& state)
{
    DataList list;
    for (auto _ : state) {
        state.PauseTiming();
        list.proxy.sort(PlayListModel::Title, Qt::AscendingOrder);
        state.ResumeTiming();
        list.proxy.restoreSourceOrder();
        benchmark::DoNotOptimize(list.proxy.index(0, 0));
    }
}
BENCHMARK(restoreFileOrder)->Unit(benchmark::kMillisecond);

// Opening the page of the most played song: the view from memory and the page drawn.
void openSongPage(benchmark::State& state)
{
    const RankingView ranking = buildRankingView(RankingKind::Title, analysis().rankings);
    const QString key = QString::fromStdString(ranking.keys.at(0));
    SongPage page;
    page.resize(1000, 700);
    page.show();
    for (auto _ : state) {
        page.showSong(*findSong(analysis(), key));
        QApplication::processEvents();
    }
    state.counters["attempts"] = static_cast<double>(page.song().plays);
}
BENCHMARK(openSongPage)->Unit(benchmark::kMillisecond);

// The two halves of opening: the view from memory, and the page drawn.
void findSongOnly(benchmark::State& state)
{
    const RankingView ranking = buildRankingView(RankingKind::Title, analysis().rankings);
    const QString key = QString::fromStdString(ranking.keys.at(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(findSong(analysis(), key));
}
BENCHMARK(findSongOnly)->Unit(benchmark::kMillisecond);

void showSongOnly(benchmark::State& state)
{
    const RankingView ranking = buildRankingView(RankingKind::Title, analysis().rankings);
    const SongView song = *findSong(analysis(), QString::fromStdString(ranking.keys.at(0)));
    SongPage page;
    page.resize(1000, 700);
    page.show();
    for (auto _ : state) {
        page.showSong(song);
        QApplication::processEvents();
    }
}
BENCHMARK(showSongOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    analysis();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
