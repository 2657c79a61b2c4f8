// The records view and the year in review, against the song views and
// against counts made straight from the plays.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/PeriodView.h"
#include "core/history/PlayHistory.h"
#include "core/insights/SongView.h"
#include "core/rankings/KeyFold.h"
#include "core/review/Records.h"
#include "core/review/YearReview.h"
#include "support/LogGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <numeric>
#include <tuple>

using namespace tolvane;

namespace {

PlayHistory* generated()
{
    tolvane::testing::GeneratorOptions options;
    options.seed = 11;
    options.plays = 4000;
    options.songs = 60;
    options.meanGapMinutes = 400; // several years
    auto* history = new PlayHistory;
    const std::string bytes = tolvane::testing::generateLog(options).bytes;
    EXPECT_EQ(history->load({LogSource{{}, bytes}}, {}, {}).state, RunOutcome::State::Completed);
    return history;
}

PlayHistory& generatedHistory()
{
    static PlayHistory* history = generated();
    return *history;
}

const Analysis& generatedAnalysis()
{
    return generatedHistory().analysis();
}

// A record as the song views tell it: row, attempt, the marks, the bests before.
using Found = std::tuple<std::int64_t, std::size_t, std::int32_t, bool, bool, bool, std::optional<std::int32_t>,
    std::optional<double>, std::string>;

std::vector<Found> recordsFromSongViews(const PlayList& plays, const RowList& rows, const RankingTables& rankings)
{
    std::vector<Found> found;
    for (const Rank& song : rankings.songs) {
        const auto view = buildSongView(plays, rows, rankings, song.key);
        EXPECT_TRUE(view.has_value()) << song.key;
        std::optional<std::int32_t> bestScore;
        std::optional<double> bestCombo;
        for (const SongAttempt& a : view->attempts) {
            const bool later = a.attempt > 1;
            const bool firstFc = view->firstFullCombo && view->firstFullCombo->attempt == a.attempt;
            if ((later && (a.newBestScore || a.newBestCombo)) || firstFc)
                found.emplace_back(totalSeconds(a.at), a.row, a.attempt, later && a.newBestScore,
                    later && a.newBestCombo, firstFc, bestScore, bestCombo, view->title);
            bestScore = std::max(bestScore.value_or(a.score), a.score);
            bestCombo = std::max(bestCombo.value_or(a.maxCombo), a.maxCombo);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<Found> recordsOf(const PlayList& plays, const RowList& rows)
{
    std::vector<Found> out;
    for (const RecordRow& r : buildRecordsView(plays, rows).rows)
        out.emplace_back(r.seconds, r.row, r.attempt, r.bestScore, r.bestCombo, r.firstFullCombo, r.previousScore,
            r.previousCombo, r.title);
    return out;
}

} // namespace

// Over the whole log and over a view period's share, with the song views'
// marks and titles: the same plays, in date order, with the same bests before.
TEST(ReviewTest, RecordsAreWhatTheSongViewsMark)
{
    const Analysis& a = generatedAnalysis();
    const RowList all = allRows(a.plays);
    const std::vector<Found> whole = recordsOf(a.plays, all);
    EXPECT_GT(whole.size(), 100U);
    EXPECT_EQ(whole, recordsFromSongViews(a.plays, all, a.rankings));
    EXPECT_TRUE(std::is_sorted(whole.begin(), whole.end()));

    const DateValue middle = a.plays.row(a.plays.size() / 2).date;
    ASSERT_TRUE(generatedHistory().narrow({middle, addDays(middle, 500)}));
    ASSERT_LT(a.rows.size(), all.size());
    EXPECT_EQ(recordsOf(a.plays, a.rows), recordsFromSongViews(a.plays, a.rows, a.rankings));
    generatedHistory().narrow({});

    const RecordsView view = buildRecordsView(a.plays, all);
    const auto monthly = std::accumulate(
        view.perMonth.begin(), view.perMonth.end(), 0, [](int n, const MonthPlays& m) { return n + m.plays; });
    EXPECT_EQ(static_cast<std::size_t>(monthly), view.rows.size());
}

// Every play, session, record and song falls in exactly one year, and a
// year's top songs are its most played keys counted afresh.
TEST(ReviewTest, EachYearCountsItsOwnShare)
{
    const Analysis& a = generatedAnalysis();
    const YearReviewSource source(a.plays, allRows(a.plays), kDefaultSessionGap);
    ASSERT_GT(source.years().size(), 2U);
    std::int64_t plays = 0, sessions = 0, records = 0, newSongs = 0;
    for (int year : source.years()) {
        const auto r = source.review(year);
        ASSERT_TRUE(r.has_value()) << year;
        plays += r->figures.plays;
        sessions += r->figures.sessions;
        records += r->records;
        newSongs += r->newSongs;
        EXPECT_EQ(std::accumulate(r->perMonth.begin(), r->perMonth.end(), 0), r->figures.plays);
        EXPECT_EQ(std::accumulate(r->perWeekday.begin(), r->perWeekday.end(), 0), r->figures.plays);
        EXPECT_EQ(std::accumulate(r->perHour.begin(), r->perHour.end(), 0), r->figures.plays);
        EXPECT_LE(r->longestStreak.days, r->figures.daysPlayed);
    }
    EXPECT_EQ(plays, static_cast<std::int64_t>(a.plays.size()));
    EXPECT_EQ(sessions, static_cast<std::int64_t>(source.sessions().size()));
    EXPECT_EQ(records, static_cast<std::int64_t>(source.records().rows.size()));
    EXPECT_EQ(newSongs, static_cast<std::int64_t>(a.rankings.songs.size()));

    const int year = source.years()[1];
    std::map<std::string, int> counts; // by folded title
    for (std::size_t i = 0; i < a.plays.size(); ++i) {
        if (splitDate(a.plays.row(i).date).year == year)
            ++counts[foldLetterCase(a.plays.row(i).title)];
    }
    const auto r = buildYearReview(a.plays, allRows(a.plays), year, kDefaultSessionGap);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->songs, static_cast<int>(counts.size()));
    ASSERT_EQ(r->topSongs.size(), 10U);
    for (std::size_t k = 0; k < r->topSongs.size(); ++k) {
        EXPECT_EQ(r->topSongs[k].plays, counts[foldLetterCase(r->topSongs[k].name)]);
        if (k > 0) {
            EXPECT_GE(r->topSongs[k - 1].plays, r->topSongs[k].plays);
        }
    }
    int most = 0;
    for (const auto& [title, n] : counts)
        most = std::max(most, n);
    EXPECT_EQ(r->topSongs.front().plays, most);
    EXPECT_EQ(source.lastYear(), splitDate(a.plays.row(a.plays.size() - 1).date).year);
    EXPECT_FALSE(source.review(source.years().front() - 1).has_value());
    EXPECT_FALSE(YearReviewSource().review(2004).has_value());
}
