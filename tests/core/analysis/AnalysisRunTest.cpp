#include "core/analysis/AnalysisRun.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/RunTexts.h"
#include "core/log/ScoreLogReader.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace tolvane;
using tolvane::testing::EntryText;
using tolvane::testing::logOf;

namespace {

std::string smallLog()
{
    std::ifstream in(std::string(TOLVANE_TEST_DATA_DIR) + "/small.txt", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Watch {
    std::vector<std::string> statuses;
    std::vector<std::pair<std::string, bool>> captions;
    int yields = 0;
    int stopAtYield = 0;

    RunCallbacks callbacks()
    {
        RunCallbacks c;
        c.onStatus = [this](const std::string& s) { statuses.push_back(s); };
        c.onCaption = [this](const std::string& s, bool onlyMinimised) { captions.emplace_back(s, onlyMinimised); };
        c.onYield = [this] { return ++yields != stopAtYield; };
        return c;
    }
};

RunOutcome runOn(Analysis& a, std::string_view bytes, const Filter& filter = {}, Watch* watch = nullptr)
{
    Watch local;
    return AnalysisRun(a, filter, GraphSettings{}, (watch ? watch : &local)->callbacks()).runBytes(bytes);
}

EntryText playAt(const std::string& dateTime, const std::string& title = "桜", const std::string& maxCombo = "166")
{
    EntryText e;
    e.date = "Date:" + dateTime;
    e.title = "Title:" + title + "   Artist:ゆきんこ";
    e.judge = "Great 210   Good 90   Bad 5   Poor 11   MaxCombo " + maxCombo;
    return e;
}

} // namespace

TEST(AnalysisRun, RunsFromReadingToTheCompletionMessage)
{
    Analysis a;
    Watch watch;
    const std::string log = smallLog();
    const RunOutcome o = runOn(a, log, {}, &watch);
    ASSERT_EQ(o.state, RunOutcome::State::Completed);
    EXPECT_EQ(o.entries, 40);
    EXPECT_EQ(o.accepted, 40);
    EXPECT_EQ(a.plays.size(), 40u);
    EXPECT_EQ(o.message,
        (std::vector<std::string>{"解析が完了しました。", "ファイルサイズ     11KB", "自分が誇れるBM98歴(笑) ",
            "   00年2ヶ月18日5時間17分47秒"}));
    EXPECT_TRUE(a.navigation.analysisDone);
    EXPECT_EQ(a.navigation.level, 1);
    EXPECT_EQ(a.periodChart.rows.size(), 4u);
    EXPECT_EQ(a.totals.year.size(), 2u);
    EXPECT_EQ(a.rankings.songs.at("Wave~Wave").plays, 7);

    // The status bar: reading from 0 %, at most eleven texts a phase, then the
    // ranking phase from 0 % to 90 %, drawing, and back to idle.
    ASSERT_GE(watch.statuses.size(), 4u);
    EXPECT_EQ(watch.statuses.front(), "スコアファイル解析中です…   0%");
    const auto ranking = std::find(watch.statuses.begin(), watch.statuses.end(), "ランキング計測中…     0%");
    ASSERT_NE(ranking, watch.statuses.end());
    EXPECT_LE(ranking - watch.statuses.begin(), 11);
    EXPECT_EQ(std::vector<std::string>(ranking + 1, watch.statuses.end() - 2),
        (std::vector<std::string>{"ランキング計測中…    0%", "ランキング計測中…    10%", "ランキング計測中…    20%",
            "ランキング計測中…    30%", "ランキング計測中…    40%", "ランキング計測中…    50%",
            "ランキング計測中…    60%", "ランキング計測中…    70%", "ランキング計測中…    80%",
            "ランキング計測中…    90%"}));
    EXPECT_EQ(watch.statuses[watch.statuses.size() - 2], "グラフ描画中…");
    EXPECT_EQ(watch.statuses.back(), "ｽﾃｰﾀｽ");
    // Progress captions are for a minimised window only; the last one is for any.
    ASSERT_FALSE(watch.captions.empty());
    EXPECT_EQ(watch.captions.back(), std::make_pair(std::string("Tolvane"), false));
    for (std::size_t i = 0; i + 1 < watch.captions.size(); ++i)
        EXPECT_TRUE(watch.captions[i].second);
}

TEST(AnalysisRun, OpeningTheSameLogTwiceGivesTheSameResults)
{
    Analysis a;
    tolvane::testing::GeneratorOptions options;
    options.plays = 700;
    const std::string log = tolvane::testing::generateLog(options).bytes;
    const RunOutcome first = runOn(a, log);
    const auto firstCells = a.plays.cells(a.plays.size() - 1);
    const auto firstRows = a.periodChart.rows;
    const auto firstHours = a.totals.hour;
    const std::size_t songs = a.rankings.songs.size();
    const RunOutcome second = runOn(a, log);
    EXPECT_EQ(second.accepted, first.accepted);
    EXPECT_EQ(a.plays.size(), static_cast<std::size_t>(first.accepted));
    EXPECT_EQ(a.plays.cells(a.plays.size() - 1), firstCells);
    EXPECT_EQ(a.rankings.songs.size(), songs);
    EXPECT_EQ(a.periodChart.rows, firstRows);
    EXPECT_EQ(a.totals.hour, firstHours);
    EXPECT_EQ(second.history, first.history);
}

TEST(AnalysisRun, ALogWhoseEveryPlayIsFilteredOutFails)
{
    Analysis a;
    Filter f;
    f.ScoreFilter = true;
    f.MinScore = 999999;
    const RunOutcome o = runOn(a, logOf({playAt("2001/05/03 12:00:00"), playAt("2001/05/04 12:00:00")}), f);
    EXPECT_EQ(o.state, RunOutcome::State::Failed);
    ASSERT_TRUE(o.failure.has_value());
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::NoPlays);
    EXPECT_EQ(o.message.at(0), "スコアファイルを解析できませんでした。");
    EXPECT_TRUE(a.plays.empty());
    EXPECT_FALSE(a.navigation.analysisDone);
    EXPECT_EQ(a.calendar.count(2001, 5), 0);

    // No marker at all fails the same way.
    EXPECT_EQ(runOn(a, "just text\r\n").failure->kind, AnalysisFailure::Kind::NoPlays);
}

TEST(AnalysisRun, AFailureLeavesThePreviousHistoryAsItWas)
{
    Analysis a;
    ASSERT_EQ(runOn(a, logOf({playAt("2001/05/03 12:00:00")})).state, RunOutcome::State::Completed);
    std::string log = logOf({playAt("2002/01/01 10:00:00"), playAt("2002/01/02 10:00:00")});
    log.resize(log.size() - 60); // loses the last line and the end of the one before
    const RunOutcome o = runOn(a, log);
    ASSERT_TRUE(o.failure.has_value());
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Format);
    EXPECT_EQ(o.failure->line, 10);
    EXPECT_EQ(o.message.at(1), "10行目: エントリーの途中でファイルが終わっています。");
    EXPECT_EQ(a.plays.size(), 1u); // the play of the run before, and nothing of this one
    EXPECT_EQ(a.plays.row(0).dateTime, "2001/05/03 12:00:00");
    EXPECT_EQ(a.calendar.count(2002), 0);
    EXPECT_TRUE(a.navigation.analysisDone);
}

TEST(AnalysisRun, AMissingFileIsTheOnlyScoreTxtNotFound)
{
    Analysis a;
    const RunOutcome o = AnalysisRun(a, {}, {}, {}).run("/nonexistent/score.txt");
    ASSERT_TRUE(o.failure.has_value());
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Open);
    EXPECT_EQ(o.message, (std::vector<std::string>{"Score.txtがみつかりません。"}));
}

TEST(AnalysisRun, AMaxComboTooLargeForTheRankingsFailsWithoutALine)
{
    Analysis a;
    const RunOutcome o = runOn(a, logOf({playAt("2001/05/03 12:00:00"), playAt("2001/05/04 12:00:00", "桜", "1E10")}));
    ASSERT_TRUE(o.failure.has_value());
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Format);
    EXPECT_EQ(o.failure->cause, AnalysisFailure::Cause::MaxComboTooLarge);
    EXPECT_EQ(o.failure->line, 0);
    EXPECT_TRUE(a.plays.empty());
    EXPECT_EQ(a.rankings.songs.size(), 0u);
}

TEST(AnalysisRun, OnePlayGivesAZeroHistoryAndRankingsUseTheNumbersAsShown)
{
    Analysis a;
    const RunOutcome o = runOn(a, logOf({playAt("2001/05/03 12:00:00", "桜", "299.5")}));
    EXPECT_EQ(o.history, "00年0ヶ月0日0時間0分0秒");
    // 299.5 shows as "299.5" and ranks as 300 (halves to even), the total notes: a full combo.
    EXPECT_EQ(a.rankings.songs.at("桜").maxCombo, 300);
    EXPECT_TRUE(a.rankings.songs.at("桜").fullCombo);
}

TEST(AnalysisRun, TheHistorySpansTheEarliestToTheLatestAcceptedPlay)
{
    Analysis a;
    const RunOutcome o = runOn(a, logOf({playAt("2002/07/04 18:30:15"), playAt("2001/05/03 12:00:00")}));
    EXPECT_EQ(o.history, "01年2ヶ月3日6時間30分15秒");
}

TEST(AnalysisRun, StopsAtTheNextYieldWhenAsked)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = 1000;
    const std::string log = tolvane::testing::generateLog(options).bytes;
    Analysis a;
    Watch reading;
    reading.stopAtYield = 2;
    EXPECT_EQ(runOn(a, log, {}, &reading).state, RunOutcome::State::Cancelled);
    EXPECT_FALSE(a.navigation.analysisDone);

    // Five yields while reading 1000 entries, so the sixth falls in the ranking phase.
    Analysis b;
    Watch ranking;
    ranking.stopAtYield = 6;
    EXPECT_EQ(runOn(b, log, {}, &ranking).state, RunOutcome::State::Cancelled);
    EXPECT_TRUE(b.plays.empty());
    EXPECT_FALSE(b.navigation.analysisDone);
}

// A log large enough to be read in parts (on a machine with more than one
// core) still gives every play in file order, with the reading's progress
// texts and yields.
TEST(AnalysisRun, ALargeLogGivesEveryPlayInOrderWithProgressAndYields)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = 32000;
    options.meanGapMinutes = 30;
    const tolvane::testing::GeneratedLog log = tolvane::testing::generateLog(options);
    ASSERT_GE(log.bytes.size(), LogReadOptions::kMinParallelBytes);

    Analysis a;
    Watch watch;
    const RunOutcome o = runOn(a, log.bytes, {}, &watch);
    ASSERT_EQ(o.state, RunOutcome::State::Completed);
    ASSERT_EQ(a.plays.size(), log.plays.size());
    for (std::size_t i = 0; i < log.plays.size(); i += 97) {
        EXPECT_EQ(a.plays.row(i).no, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(a.plays.row(i).dateTime, log.plays[i].dateTime);
        EXPECT_EQ(a.plays.row(i).score, log.plays[i].score);
    }
    EXPECT_EQ(o.endOffset, log.bytes.size());
    EXPECT_GE(watch.yields, 32000 / AnalysisRun::kYieldEvery);
    const auto ranking = std::find(watch.statuses.begin(), watch.statuses.end(), "ランキング計測中…     0%");
    ASSERT_NE(ranking, watch.statuses.end());
    EXPECT_LE(ranking - watch.statuses.begin(), 11);
    for (auto status = watch.statuses.begin(); status != ranking; ++status)
        EXPECT_TRUE(status->starts_with("スコアファイル解析中です…")) << *status;
}
