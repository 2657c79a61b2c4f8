// The insight views built from hand-written logs: search, song, calendar,
// sessions, streaks and the view period.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/history/PlayHistory.h"
#include "core/insights/PlaySearch.h"
#include "core/insights/Sessions.h"
#include "core/insights/SongView.h"
#include "core/insights/ViewPeriod.h"
#include "core/log/DateText.h"
#include "core/log/ScoreLogReader.h"
#include "core/rankings/RankingView.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace tolvane;
using tolvane::testing::EntryText;

namespace {

struct Play {
    std::string date; // "2001/05/03 12:00:00"
    std::string title = "Wave";
    int score = 1000;
    int maxCombo = 100;
    int totalNotes = 500;
    std::string judge = "Great 400   Good 60   Bad 20   Poor 20";
};

std::string logBytes(const std::vector<Play>& plays)
{
    std::string utf8;
    for (const Play& p : plays) {
        EntryText e;
        e.date = "Date:" + p.date;
        e.title = "Title:" + p.title + "   Artist:Someone";
        e.score = "Total Notes         :" + std::to_string(p.totalNotes) + "   Score " + std::to_string(p.score);
        e.judge = p.judge + "   MaxCombo " + std::to_string(p.maxCombo);
        utf8 += e.text();
    }
    return tolvane::testing::utf8ToCp932(utf8);
}

void analyse(Analysis& a, const std::vector<Play>& plays, const Filter& filter = {})
{
    const RunOutcome o = AnalysisRun(a, filter, GraphSettings{}, {}).runBytes(logBytes(plays));
    ASSERT_EQ(o.state, RunOutcome::State::Completed);
}

// What the charts show: the period chart at level 1, its cursor and the totals.
std::string charted(const Analysis& a)
{
    std::string text = std::to_string(a.navigation.cursor.year) + "/" + std::to_string(a.navigation.cursor.month) + "/"
        + std::to_string(a.navigation.cursor.day) + " " + a.periodChart.from + "-" + a.periodChart.to + "\n";
    for (const ChartRows* rows :
        {&a.periodChart.rows, &a.totals.year, &a.totals.month, &a.totals.day, &a.totals.weekday, &a.totals.hour})
        for (const ChartRow& row : *rows)
            text += row.label + "=" + std::to_string(row.value.value_or(-1)) + " ";
    return text;
}

std::vector<PlaySession> sessionsOf(const Analysis& a, int gap = kDefaultSessionGap)
{
    return buildSessions(a.plays, inDateOrder(a.plays, allRows(a.plays)), gap);
}

PlayStreaks streaksOf(const Analysis& a)
{
    const auto timeline = inDateOrder(a.plays, allRows(a.plays));
    return buildStreaks(buildPlayCalendar(timeline), buildSessions(a.plays, timeline, kDefaultSessionGap));
}

} // namespace

TEST(PlaySearchTest, FoldsCaseWidthAndHalfWidthKana)
{
    EXPECT_EQ(foldForSearch("ＷＡＶＥ　Ｗａｖｅ！"), "wave wave!");
    EXPECT_EQ(foldForSearch("ﾊﾟﾝﾀﾞｶﾞｳﾞ"), "パンダガヴ");
    EXPECT_EQ(foldForSearch("ﾞｱﾟﾝﾞﾊﾟﾟ｡"), "゛ア゜ン゛パ゜。"); // marks with nothing to join stand alone
    EXPECT_EQ(foldForSearch("ばば"), "ばば"); // kana type and full-width letters stay
    EXPECT_EQ(foldForSearch("ΣΩ Ж"), "σω ж"); // letter case as the ranking keys fold it
    EXPECT_EQ(foldForSearch("a\xff"
                            "B"),
        "a\xff"
        "b"); // bytes that are not UTF-8 pass

    Analysis a;
    analyse(a,
        {{"2001/01/01 10:00:00", "Wave~Wave"}, {"2001/01/01 11:00:00", "パンダ"}, {"2001/01/01 12:00:00", "ｽﾃｯﾌﾟ"},
            {"2001/01/01 13:00:00", "Other"}});
    const PlaySearch search(a.plays);
    EXPECT_EQ(search.matchingRows("wAVE"), (std::vector<std::size_t>{0}));
    EXPECT_EQ(search.matchingRows("ｗａｖｅ～"), (std::vector<std::size_t>{0})); // U+FF5E is "~"
    EXPECT_EQ(search.matchingRows("ﾊﾟﾝ"), (std::vector<std::size_t>{1}));
    EXPECT_EQ(search.matchingRows("ステップ"), (std::vector<std::size_t>{2}));
    EXPECT_EQ(search.matchingRows("someone"), (std::vector<std::size_t>{0, 1, 2, 3})); // the artist
    EXPECT_EQ(search.matchingRows("waveso"), (std::vector<std::size_t>{})); // never across two fields
    EXPECT_EQ(search.matchingRows("no such"), (std::vector<std::size_t>{}));
    EXPECT_EQ(search.matchingRows(""), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(search.matchFlags("other"), (std::vector<std::uint8_t>{0, 0, 0, 1}));
}

// Letter case folds for any letter a UTF-8 log holds, and for the Roman
// numerals of a code page 932 one, in the rankings and the search alike.
TEST(PlaySearchTest, UnicodeLettersFoldInBothEncodings)
{
    std::string utf8 = "\xEF\xBB\xBF";
    for (const char* title : {"Ñandú Dance", "ñandú dance", "Électro", "CAFÉ", "café"}) {
        EntryText e;
        e.title = std::string("Title:") + title + "   Artist:Someone";
        utf8 += e.text();
    }
    Analysis a;
    ASSERT_EQ(AnalysisRun(a, {}, GraphSettings{}, {}).runBytes(utf8).state, RunOutcome::State::Completed);
    EXPECT_EQ(a.rankings.songs.size(), 3u);
    EXPECT_EQ(a.rankings.songs.at("ÑANDÚ DANCE").plays, 2);
    EXPECT_EQ(a.rankings.songs.at("Café").plays, 2);
    const PlaySearch search(a.plays);
    EXPECT_EQ(search.matchingRows("ñandú dance"), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(search.matchingRows("électro"), (std::vector<std::size_t>{2}));
    EXPECT_EQ(search.matchingRows("CAFÉ"), (std::vector<std::size_t>{3, 4}));
    EXPECT_EQ(search.matchingRows("ＣＡＦÉ"), (std::vector<std::size_t>{3, 4})); // width folds first

    Analysis roman;
    analyse(roman, {{"2001/01/01 10:00:00", "Stage Ⅳ"}, {"2001/01/01 11:00:00", "stage ⅳ"}});
    EXPECT_EQ(roman.rankings.songs.size(), 1u);
    EXPECT_EQ(PlaySearch(roman.plays).matchingRows("ⅳ"), (std::vector<std::size_t>{0, 1}));
}

// Attempts in date order (the log is not), bests as the rankings hold them,
// and a full combo only when the combo equals the notes.
TEST(SongViewTest, AttemptsMarksAndBests)
{
    Analysis a;
    analyse(a,
        {
            {"2001/01/10 10:00:00", "wave", 3000, 480, 500}, // attempt 3
            {"2001/01/01 10:00:00", "Wave", 1000, 100, 500, "Great 1   Good   Bad 3"}, // attempt 1
            {"2001/01/05 10:00:00", "WAVE", 2000, 520, 500}, // 2: combo over the notes
            {"2001/03/02 10:00:00", "Wave", 2500, 500, 500}, // 4: the first full combo
            {"2001/03/03 10:00:00", "Other", 9000, 500, 500},
            {"2001/03/04 10:00:00", "Wave", 3000, 500, 500, "PGreat 9\r\nPGreat 8   Great 5"}, // 5: equal score
        });
    const auto song = buildSongView(a.plays, allRows(a.plays), a.rankings, "WaVe");
    ASSERT_TRUE(song.has_value());
    EXPECT_EQ(song->title, "wave"); // the first play in file order names it
    EXPECT_EQ(song->plays, 5);
    ASSERT_EQ(song->attempts.size(), 5U);
    const std::vector<std::size_t> rows{1, 2, 0, 3, 5};
    const std::vector<std::array<bool, 3>> marks{
        {true, true, false}, {true, true, false}, {true, false, false}, {false, false, true}, {false, false, true}};
    for (std::size_t i = 0; i < 5; ++i) {
        const SongAttempt& at = song->attempts[i];
        EXPECT_EQ(at.attempt, static_cast<int>(i + 1));
        EXPECT_EQ(at.row, rows[i]);
        EXPECT_EQ((std::array<bool, 3>{at.newBestScore, at.newBestCombo, at.fullCombo}), marks[i]) << i;
    }
    // A label with no number reads 0; a label not on the line is no count.
    const auto& j = song->attempts[0].judgements;
    EXPECT_EQ(j[PlayRecord::Great], 1.0);
    EXPECT_EQ(j[PlayRecord::Good], 0.0);
    EXPECT_EQ(j[PlayRecord::Bad], 3.0);
    EXPECT_FALSE(j[PlayRecord::Poor].has_value());
    EXPECT_EQ(song->attempts[1].judgements[PlayRecord::Great], 400.0);
    EXPECT_EQ(song->attempts[4].judgements[PlayRecord::Great], 5.0); // not PGreat's number

    // The rankings take the plays in file order: the first 3000 keeps its date.
    EXPECT_EQ(song->bestScore, 3000);
    EXPECT_EQ(song->bestScoreAt, makeDate(2001, 1, 10, 10));
    EXPECT_EQ(song->bestCombo, 520);
    EXPECT_EQ(song->bestComboAt, makeDate(2001, 1, 5, 10));
    EXPECT_FALSE(song->fullCombo); // the ranking's flag: 520 of 500 notes is none
    ASSERT_TRUE(song->firstFullCombo.has_value());
    EXPECT_EQ(song->firstFullCombo->attempt, 4);
    EXPECT_EQ(song->firstFullCombo->days, 60);
    ASSERT_EQ(song->perMonth.size(), 3U);
    EXPECT_EQ(song->perMonth[1].month, 2);
    EXPECT_EQ(song->perMonth[1].plays, 0);
    EXPECT_EQ(song->perMonth[2].plays, 2);

    EXPECT_FALSE(buildSongView(a.plays, allRows(a.plays), a.rankings, "Wav").has_value());
    const auto other = buildSongView(a.plays, allRows(a.plays), a.rankings, "other");
    ASSERT_TRUE(other.has_value());
    EXPECT_TRUE(other->fullCombo);
    EXPECT_EQ(other->firstFullCombo->days, 0);
}

TEST(StreaksTest, LongestCurrentAndBusiest)
{
    std::vector<Play> plays;
    for (int day = 10; day >= 1; --day) { // out of order on purpose
        if (day != 5)
            plays.push_back({"2004/01/" + std::to_string(day) + " 20:00:00"});
    }
    plays.push_back({"2004/01/02 20:10:00"});
    plays.push_back({"2004/01/08 20:10:00"});
    Analysis a;
    analyse(a, plays);
    const PlayStreaks s = streaksOf(a);
    EXPECT_EQ(s.longest.days, 5);
    EXPECT_EQ(s.longest.from, serialDay(2004, 1, 6));
    EXPECT_EQ(s.longest.to, serialDay(2004, 1, 10));
    EXPECT_EQ(s.current.days, 5);
    EXPECT_EQ(s.busiestDay.day, serialDay(2004, 1, 2)); // two days with 2 plays: the earliest
    EXPECT_EQ(s.busiestDay.plays, 2);
    EXPECT_EQ(s.daysPlayed, 9);
    EXPECT_EQ(s.totalMinutes, 20);
    ASSERT_TRUE(s.longestSession.has_value());
    EXPECT_EQ(s.longestSession->start, totalSeconds(makeDate(2004, 1, 2, 20))); // the earlier of two ties

    // Two runs of three days: the earlier is the longest, the later the current.
    Analysis b;
    analyse(b,
        {{"2004/01/01 1:00:00"}, {"2004/01/02 1:00:00"}, {"2004/01/03 1:00:00"}, {"2004/01/05 1:00:00"},
            {"2004/01/06 1:00:00"}, {"2004/01/07 1:00:00"}});
    const PlayStreaks t = streaksOf(b);
    EXPECT_EQ(t.longest.from, serialDay(2004, 1, 1));
    EXPECT_EQ(t.current.from, serialDay(2004, 1, 5));
}

TEST(SessionsTest, SplitAtGapsOverTheSetting)
{
    Analysis a;
    analyse(a,
        {
            {"2004/01/01 20:00:00", "A", 100}, {"2004/01/01 20:30:00", "a", 200}, // exactly 30 minutes: same session
            {"2004/01/01 21:00:59", "B", 100}, // 30:59 later: over the gap
            {"2004/01/01 21:10:00", "A", 150}, {"2004/01/01 20:10:00", "C", 50}, // merged from another machine
            {"2004/01/02 23:50:00", "A", 300}, {"2004/01/03 0:15:00", "A", 300}, // a session over midnight
        });
    const auto sessions = sessionsOf(a);
    ASSERT_EQ(sessions.size(), 3U);
    EXPECT_EQ(sessions[0].plays, 3);
    EXPECT_EQ(sessions[0].minutes, 30);
    EXPECT_EQ(sessions[0].songs, 2); // "A" and "a" are one song
    EXPECT_EQ(sessions[0].newBests, 3);
    EXPECT_EQ(sessions[1].plays, 2);
    EXPECT_EQ(sessions[1].minutes, 9); // 9:01, rounded down
    EXPECT_EQ(sessions[1].newBests, 1); // B's first; A's 150 is below its 200
    EXPECT_EQ(sessions[2].minutes, 25);
    EXPECT_EQ(sessions[2].newBests, 1); // an equal score is no new best
    EXPECT_EQ(sessionsOf(a, 1440).size(), 2U);
    EXPECT_EQ(sessionsOf(a, 1).size(), 7U);
}

// One play, one day, and the ends of the calendar give sound figures.
TEST(SessionsTest, EdgesOfTheCalendar)
{
    Analysis one;
    analyse(one, {{"0001/01/01 0:00:00"}});
    const PlayStreaks s = streaksOf(one);
    EXPECT_EQ(s.longest.days, 1);
    EXPECT_EQ(s.current.from, serialDay(1, 1, 1));
    EXPECT_EQ(s.totalMinutes, 0);
    EXPECT_EQ(isoDay(s.current.from), "0001-01-01");

    Analysis ends;
    analyse(ends, {{"9999/12/31 23:59:59"}, {"0001/01/01 0:00:00"}, {"9999/12/31 0:00:00"}});
    const auto timeline = inDateOrder(ends.plays, allRows(ends.plays));
    const PlayCalendar calendar = buildPlayCalendar(timeline);
    EXPECT_EQ(calendar.years.size(), 9999U);
    EXPECT_EQ(calendar.years.back().plays, 2);
    EXPECT_EQ(calendar.daysOfYear(9999).size(), 1U);
    EXPECT_EQ(calendar.playsOn(serialDay(1, 1, 1)), 1);
    EXPECT_EQ(isoDateTime(timeline.back().seconds), "9999-12-31T23:59:59");
    const PlayStreaks t = streaksOf(ends);
    EXPECT_EQ(t.current.days, 1);
    EXPECT_EQ(t.totalMinutes, 0);
    const auto song = buildSongView(ends.plays, allRows(ends.plays), ends.rankings, "wave");
    ASSERT_TRUE(song.has_value());
    EXPECT_EQ(song->perMonth.size(), 9999U * 12);
    EXPECT_EQ(rowsOnDay(ends.plays, allRows(ends.plays), serialDay(9999, 12, 31)), (RowList{0, 2}));
}

// A view period keeps the plays the span load filter keeps, even in a log out
// of order, and its charts count the entries whose day lies in the period,
// as a log of just those entries would; the whole span gives back the load.
TEST(ViewPeriodTest, KeepsThePlaysOfTheSpanLoadFilterAndChartsOnlyThePeriod)
{
    const std::vector<Play> plays{{"2001/01/01 10:00:00", "A", 100}, {"2001/02/01 10:00:00", "B", 200},
        {"2001/02/03 10:00:00", "A", 300, 500}, {"2001/01/15 10:00:00", "B", 50}, {"2001/03/01 10:00:00", "A", 400},
        {"2001/02/02 10:00:00", "C", 10}};
    const std::string bytes = logBytes(plays);
    PlayHistory history;
    ASSERT_EQ(history.load({LogSource{{}, bytes}}, Filter{}, GraphSettings{}).state, RunOutcome::State::Completed);
    const std::string whole = charted(history.analysis());

    for (const ViewSpan span : {ViewSpan{makeDate(2001, 2, 1), makeDate(2001, 2, 28)},
             ViewSpan{makeDate(2001, 1, 15, 12), 0}, ViewSpan{0, makeDate(2001, 1, 31, 23)}}) {
        Filter filter;
        filter.SpanFilter = true;
        filter.Mintime = span.from;
        filter.Maxtime = span.to;
        Analysis narrowed;
        analyse(narrowed, plays, filter);
        std::vector<Play> inPeriod;
        for (const Play& p : plays) {
            const auto day = static_cast<DateValue>(*parseDateText(p.date.substr(0, 10)));
            if ((span.from == 0 || day >= span.from) && (span.to == 0 || day <= span.to))
                inPeriod.push_back(p);
        }
        Analysis periodOnly;
        analyse(periodOnly, inPeriod);

        ASSERT_TRUE(history.narrow(span));
        const Analysis& a = history.analysis();
        ASSERT_EQ(a.rows.size(), narrowed.plays.size());
        for (std::size_t i = 0; i < a.rows.size(); ++i)
            EXPECT_EQ(a.plays.row(a.rows[i]).dateTime, narrowed.plays.row(i).dateTime);
        for (RankingKind kind : {RankingKind::Title, RankingKind::Score, RankingKind::MaxCombo})
            EXPECT_EQ(buildRankingView(kind, a.rankings).rows, buildRankingView(kind, narrowed.rankings).rows);
        EXPECT_EQ(charted(a), charted(periodOnly));
    }
    ASSERT_TRUE(history.narrow({}));
    EXPECT_EQ(charted(history.analysis()), whole);
    EXPECT_EQ(history.analysis().rows, allRows(history.analysis().plays));
}
