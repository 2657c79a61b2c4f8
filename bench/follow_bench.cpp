// Times the path a play takes from the game's append to the open window:
// reading the appended bytes into the analysis of a 200,000-play log, and
// that plus the window's views catching up (the data list behind a sorting
// proxy, the song ranking, the six charts). Offscreen.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/PeriodView.h"
#include "core/follow/LogFollower.h"
#include "gui/HistoryNotifier.h"
#include "gui/files/AddedPlays.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/PlayListModel.h"
#include "gui/pages/RankingPage.h"
#include "gui/pages/TrendPage.h"
#include "gui/search/PlayFilterProxy.h"
#include "support/LogGenerator.h"

#include <QApplication>
#include <QComboBox>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using namespace tolvane;

constexpr int kLogPlays = 200000;

// A log of kLogPlays plays read in full, followed from its end, and shown.
struct OpenLog {
    std::filesystem::path path;
    HistoryNotifier history;
    const Analysis& analysis = history.history().analysis();
    LogFollower follower;
    std::string onePlay;
    std::string thousandPlays;
    std::unique_ptr<PlayListModel> model;
    std::unique_ptr<PlayFilterProxy> proxy;
    std::unique_ptr<QTableView> list;
    std::unique_ptr<RankingPage> rankings;
    std::unique_ptr<TrendPage> charts;
};

std::string entriesOf(int plays, std::uint64_t seed)
{
    testing::GeneratorOptions options;
    options.plays = plays;
    options.seed = seed;
    options.junkRate = 0; // no header line either: these are entries only
    options.startYear = 2012;
    options.meanGapMinutes = 20;
    return testing::generateLog(options).bytes;
}

OpenLog& openLog()
{
    static OpenLog* log = [] {
        auto* l = new OpenLog;
        l->path
            = std::filesystem::temp_directory_path() / ("tolvane-follow-bench-" + std::to_string(::getpid()) + ".txt");
        testing::GeneratorOptions options;
        options.plays = kLogPlays;
        options.meanGapMinutes = 20;
        testing::writeLog(l->path.string(), options);
        const RunOutcome outcome = l->history.load({LogSource{l->path}}, Filter{}, GraphSettings{}, {});
        if (outcome.state != RunOutcome::State::Completed
            || !l->follower.start(l->path, Filter{}, outcome.logs.front()))
            std::abort();
        l->onePlay = entriesOf(1, 7);
        l->thousandPlays = entriesOf(1000, 8);

        l->model = std::make_unique<PlayListModel>(l->analysis.plays);
        l->model->reset();
        l->proxy = std::make_unique<PlayFilterProxy>(l->analysis.plays);
        l->proxy->setSourceModel(l->model.get());
        l->proxy->setSortRole(SortRole);
        l->list = std::make_unique<QTableView>();
        l->list->setModel(l->proxy.get());
        l->list->setSortingEnabled(true);
        l->list->sortByColumn(-1, Qt::AscendingOrder); // file order, as the window opens a log
        l->list->resize(800, 600);
        l->list->show();
        l->rankings = std::make_unique<RankingPage>(l->analysis.rankings);
        l->rankings->showRanking(RankingKind::Title);
        l->charts = std::make_unique<TrendPage>(l->history);
        l->charts->resize(800, 600);
        l->charts->show();
        l->charts->showAnalysis();
        QApplication::processEvents();
        return l;
    }();
    return *log;
}

void append(const OpenLog& log, const std::string& bytes)
{
    std::ofstream(log.path, std::ios::binary | std::ios::app)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The history only: read the appended plays, add them to list, rankings and
// charts. The second argument 1 has a view period (the last 12 months) active.
void BM_FollowAppend(benchmark::State& state)
{
    OpenLog& log = openLog();
    const std::string& bytes = state.range(0) == 1 ? log.onePlay : log.thousandPlays;
    log.history.narrow(
        state.range(1) == 1 ? presetSpan(PeriodPreset::Last12Months, lastPlayDay(log.analysis.plays)) : ViewSpan{});
    for (auto _ : state) {
        state.PauseTiming();
        append(log, bytes);
        state.ResumeTiming();
        const FollowUpdate update = log.history.follow(0, log.follower);
        if (update.kind != FollowUpdate::Kind::Added)
            state.SkipWithError("nothing was added");
    }
    log.history.narrow({});
    state.counters["plays"] = static_cast<double>(log.analysis.plays.size());
}

// The same, then the window's views shown anew, painted once. The second
// argument 1 sorts the data list by score first, so the new rows land all
// over it instead of at its end.
void BM_FollowAppendAndShow(benchmark::State& state)
{
    OpenLog& log = openLog();
    const std::string& bytes = state.range(0) == 1 ? log.onePlay : log.thousandPlays;
    if (state.range(1) == 1)
        log.list->sortByColumn(PlayListModel::Score, Qt::DescendingOrder);
    else
        log.list->sortByColumn(-1, Qt::AscendingOrder);
    for (auto _ : state) {
        state.PauseTiming();
        append(log, bytes);
        state.ResumeTiming();
        if (log.history.follow(0, log.follower).kind != FollowUpdate::Kind::Added)
            state.SkipWithError("nothing was added");
        showAddedPlays(*log.model, *log.list);
        log.rankings->showRanking(RankingKind::Title);
        log.charts->showAnalysis();
        log.list->repaint();
        QApplication::processEvents();
    }
    state.counters["plays"] = static_cast<double>(log.analysis.plays.size());
}

BENCHMARK(BM_FollowAppend)
    ->Args({1, 0})
    ->Args({1000, 0})
    ->Args({1, 1})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_FollowAppendAndShow)
    ->Args({1, 0})
    ->Args({1000, 0})
    ->Args({1, 1})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(openLog().path);
    return 0;
}
