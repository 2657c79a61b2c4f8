#include "core/log/ScoreLogReader.h"
#include "core/log/DateValue.h"
#include "core/log/LineReader.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using tolvane::Filter;
using tolvane::LogReadError;
using tolvane::LogReadResult;
using tolvane::PlayDate;
using tolvane::PlayRecord;
using tolvane::ScoreLogReader;
using tolvane::testing::EntryText;
using tolvane::testing::logOf;
using tolvane::testing::utf8ToCp932;

namespace {

// Everything the reader reported for one log.
struct Reading {
    LogReadResult result;
    std::vector<PlayRecord> plays;
    std::vector<PlayDate> dates;
    std::vector<int> progress;
    int yields = 0;
};

Reading readLog(std::string_view bytes, const Filter& filter = {}, int stopAtYield = 0)
{
    Reading r;
    tolvane::LogReaderCallbacks callbacks;
    callbacks.onPlay = [&](PlayRecord&& p) { r.plays.push_back(std::move(p)); };
    callbacks.onPlayDate = [&](const PlayDate& d) { r.dates.push_back(d); };
    callbacks.onProgress = [&](int p) { r.progress.push_back(p); };
    callbacks.onYield = [&] { return ++r.yields != stopAtYield; };
    r.result = ScoreLogReader(filter, callbacks).readBytes(bytes);
    return r;
}

EntryText entryOn(const std::string& dateTime)
{
    EntryText e;
    e.date = "Date:" + dateTime;
    return e;
}

EntryText withDigits(int autoplay, int autoScratch)
{
    EntryText e;
    e.autoplay = "AutoPlay Mode       :" + std::to_string(autoplay);
    e.autoScratch = "AutoScratch:" + std::to_string(autoScratch);
    return e;
}

EntryText withScore(const std::string& score)
{
    EntryText e;
    e.score = "Total Notes         :300   Score " + score;
    return e;
}

} // namespace

TEST(ScoreLogReader, TakesEveryFieldOfAnEntry)
{
    EntryText e;
    e.date = "Date:2001/12/17 23:45:10";
    e.title = "Title:真夏の夜の夢   Artist:星野工房";
    e.genre = "Genre:ピアノロック   PlayLevel:5";
    e.bpm = "BPM:133.333";
    e.score = "Total Notes         :444   Score 127850";
    e.judge = "Great 300   Good 144   Bad 1   Poor 2   MaxCombo 131";
    const Reading r = readLog(logOf({e}));
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(r.plays.size(), 1u);
    const PlayRecord& p = r.plays[0];
    EXPECT_EQ(p.no, 1);
    EXPECT_EQ(p.dateTime, "2001/12/17 23:45:10");
    EXPECT_EQ(p.title, "真夏の夜の夢");
    EXPECT_EQ(p.artist, "星野工房");
    EXPECT_EQ(p.genre, "ピアノロック");
    EXPECT_EQ(p.level, 5);
    EXPECT_EQ(p.bpm, 133.333);
    EXPECT_EQ(p.totalNotes, 444);
    EXPECT_EQ(p.score, 127850);
    EXPECT_EQ(p.maxCombo, 131);
    EXPECT_EQ(p.date, tolvane::makeDate(2001, 12, 17, 23, 45, 10));

    ASSERT_EQ(r.dates.size(), 1u);
    const PlayDate& d = r.dates[0];
    EXPECT_EQ(d.date, tolvane::makeDate(2001, 12, 17));
    EXPECT_EQ(d.year, 2001);
    EXPECT_EQ(d.month, 12);
    EXPECT_EQ(d.day, 17);
    EXPECT_EQ(d.weekday, 2); // a Monday
    EXPECT_EQ(d.hour, 23);
    EXPECT_EQ(d.line, 2);
}

TEST(ScoreLogReader, TakesTheMaxComboFromTheNinthLineWhenTheEighthIsNotTheJudgementLine)
{
    EntryText split;
    split.judge = "PGreat 155  Great 67\r\nGood 3  Bad 9  Poor 0  MaxCombo 12";
    EntryText plain;
    const Reading r = readLog(logOf({split, plain}));
    ASSERT_EQ(r.plays.size(), 2u);
    EXPECT_EQ(r.plays[0].maxCombo, 12);
    EXPECT_EQ(r.plays[1].maxCombo, 166);
}

TEST(ScoreLogReader, FindsEntriesOnlyAtExactMarkerLines)
{
    EntryText trailingBlank;
    trailingBlank.marker += " ";
    EntryText leadingBlank;
    leadingBlank.marker = " " + leadingBlank.marker;
    const std::string junk = utf8ToCp932("BM98 score log\r\n\r\nsome text\r\n[Start of Score] : \r\n");
    const Reading r = readLog(junk + logOf({trailingBlank, leadingBlank, EntryText{}}) + junk);
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.result.entries, 1);
    ASSERT_EQ(r.plays.size(), 1u);
    EXPECT_EQ(r.dates.size(), 1u);

    const Reading none = readLog(utf8ToCp932("no entries here\r\n"));
    EXPECT_TRUE(none.result.ok());
    EXPECT_EQ(none.result.accepted, 0);
    EXPECT_TRUE(readLog("").plays.empty());
}

TEST(ScoreLogReader, NamesTheMissingTitleArtistAndGenre)
{
    EntryText noTitle;
    noTitle.title = "Title:   Artist:ゆきんこ";
    EntryText noArtist;
    noArtist.title = "Title:桜   Artist:";
    EntryText noGenre;
    noGenre.genre = "Genre:   PlayLevel:3";
    const Reading r = readLog(logOf({noTitle, noArtist, noGenre}));
    ASSERT_EQ(r.plays.size(), 3u);
    EXPECT_EQ(r.plays[0].title, "No Title");
    EXPECT_EQ(r.plays[0].artist, "ゆきんこ");
    EXPECT_EQ(r.plays[1].artist, "No Name");
    EXPECT_EQ(r.plays[2].genre, "No Name");
    EXPECT_EQ(r.plays[2].level, 3);
}

TEST(ScoreLogReader, AnEntryWithAMissingSeparatorNeverBorrowsFromTheEntryBefore)
{
    EntryText full;
    EntryText broken;
    broken.title = "Title:桜だけ";
    broken.genre = "Genre:和風 PlayLevel:9";
    broken.score = "Total Notes         :300   Points 5";
    broken.judge = "Great 210   Good 90   Combo 7";
    const Reading r = readLog(logOf({full, broken}));
    ASSERT_EQ(r.plays.size(), 2u);
    const PlayRecord& p = r.plays[1];
    EXPECT_EQ(p.title, "桜だけ");
    EXPECT_EQ(p.artist, "No Name");
    EXPECT_EQ(p.genre, "和風 PlayLevel:9");
    EXPECT_EQ(p.level, 0);
    EXPECT_EQ(p.totalNotes, 300);
    EXPECT_EQ(p.score, 0);
    EXPECT_EQ(p.maxCombo, 0);
}

TEST(ScoreLogReader, CountsCharacterPositionsNotBytes)
{
    // Double-byte characters before the digit must count as one character each.
    EntryText e;
    e.autoplay = "ＡｕｔｏＰｌａｙ　Ｍｏｄｅ       :2";
    e.bpm = "ＢＰＭ:150";
    Filter f;
    f.IgnoreAutoplay = true;
    f.optIgnoreAuto = 1;
    const Reading r = readLog(logOf({e}), f);
    EXPECT_EQ(r.plays.size(), 0u);
    EXPECT_EQ(readLog(logOf({e})).plays.at(0).bpm, 150);
}

TEST(ScoreLogReader, DropsAutoplayAndAutoScratchPlaysOfTheChosenSideOnly)
{
    const std::string log = logOf({withDigits(0, 0), withDigits(1, 0), withDigits(2, 0), withDigits(3, 0),
        withDigits(0, 1), withDigits(0, 2), withDigits(0, 3)});
    auto keptNumbersWith = [&](bool autoplay, int autoSide, bool scratch, int scratchSide) {
        Filter f;
        f.IgnoreAutoplay = autoplay;
        f.optIgnoreAuto = static_cast<std::int16_t>(autoSide);
        f.IgnoreScrach = scratch;
        f.optIgnoreScr = static_cast<std::int16_t>(scratchSide);
        std::vector<std::string> kept;
        for (const PlayRecord& p : readLog(log, f).plays)
            kept.push_back(p.dateTime);
        return kept.size();
    };
    EXPECT_EQ(keptNumbersWith(false, 2, false, 2), 7u);
    EXPECT_EQ(keptNumbersWith(true, 0, false, 0), 6u); // digit 3 stays with side 1P
    EXPECT_EQ(keptNumbersWith(true, 2, false, 0), 6u); // only digit 3 goes with 1P+2P
    EXPECT_EQ(keptNumbersWith(false, 0, true, 1), 6u);
    EXPECT_EQ(keptNumbersWith(true, 1, true, 2), 5u);
    EXPECT_EQ(keptNumbersWith(true, 7, true, -1), 7u); // a side out of range drops nothing

    // Dropped plays leave no gap in the numbering, yet their dates are reported.
    Filter f;
    f.IgnoreAutoplay = true;
    f.optIgnoreAuto = 0;
    const Reading r = readLog(log, f);
    ASSERT_EQ(r.plays.size(), 6u);
    for (std::size_t i = 0; i < r.plays.size(); ++i)
        EXPECT_EQ(r.plays[i].no, static_cast<int>(i + 1));
    EXPECT_EQ(r.dates.size(), 7u);
    EXPECT_EQ(r.result.entries, 7);
}

TEST(ScoreLogReader, TheScoreFilterLetsTheMinimumScorePass)
{
    Filter f;
    f.ScoreFilter = true;
    f.MinScore = 100;
    const Reading r = readLog(logOf({withScore("100"), withScore("99"), withScore("-5"), withScore("101")}), f);
    ASSERT_EQ(r.plays.size(), 2u);
    EXPECT_EQ(r.plays[0].score, 100);
    EXPECT_EQ(r.plays[1].score, 101);
    EXPECT_EQ(readLog(logOf({withScore("99")}), Filter{}).plays.size(), 1u);
}

TEST(ScoreLogReader, TheSpanKeepsWholeDaysAndStopsAtTheFirstPlayAfterIt)
{
    Filter f;
    f.SpanFilter = true;
    f.Mintime = tolvane::makeDate(2001, 5, 3);
    f.Maxtime = tolvane::makeDate(2001, 5, 5, 12);
    const std::string log = logOf({entryOn("2001/05/02 23:59:59"), entryOn("2001/05/03 00:00:00"),
        entryOn("2001/05/05 23:59:59"), entryOn("2001/05/06 00:00:01"), entryOn("2001/05/04 10:00:00")});
    const Reading r = readLog(log, f);
    ASSERT_TRUE(r.result.ok());
    EXPECT_TRUE(r.result.stoppedAtMaxtime);
    ASSERT_EQ(r.plays.size(), 2u);
    EXPECT_EQ(r.plays[0].dateTime, "2001/05/03 00:00:00");
    EXPECT_EQ(r.plays[1].dateTime, "2001/05/05 23:59:59");
    // The day before the span still counts for the charts, and so does the play that ended the reading.
    EXPECT_EQ(r.dates.size(), 4u);
    EXPECT_EQ(r.result.entries, 4);

    Filter open;
    open.SpanFilter = true;
    EXPECT_EQ(readLog(log, open).plays.size(), 5u);
    open.Maxtime = tolvane::makeDate(2001, 5, 5);
    EXPECT_EQ(readLog(log, open).plays.size(), 3u);
    // A zero lower bound is no bound, even for a date before 1900.
    EXPECT_EQ(readLog(logOf({entryOn("1800/01/01 10:00:00")}), Filter{.SpanFilter = true}).plays.size(), 1u);
}

TEST(ScoreLogReader, ReadsTheSameLogWithAnyLineEndOrAByteOrderMark)
{
    const std::vector<EntryText> entries = {EntryText{}, entryOn("2002/1/4 9:05"), withScore("1")};
    std::string utf8;
    for (const EntryText& e : entries)
        utf8 += e.text("\n");
    const Reading lf = readLog(utf8ToCp932(utf8));
    std::string cr = utf8;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    const Reading crOnly = readLog(utf8ToCp932(cr));
    const Reading bom = readLog("\xEF\xBB\xBF" + utf8);
    ASSERT_EQ(lf.plays.size(), 3u);
    for (const Reading* other : {&crOnly, &bom}) {
        ASSERT_EQ(other->plays.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(other->plays[i].title, lf.plays[i].title);
            EXPECT_EQ(other->plays[i].dateTime, lf.plays[i].dateTime);
            EXPECT_EQ(other->plays[i].score, lf.plays[i].score);
        }
    }
    EXPECT_EQ(lf.plays[1].date, tolvane::makeDate(2002, 1, 4, 9, 5));
}

TEST(ScoreLogReader, KeepsUndecodableBytesAsReplacementCharacters)
{
    std::string log = logOf({EntryText{}});
    const std::string title = utf8ToCp932("Title:桜");
    log.insert(log.find(title) + title.size(), "\x80\xFD");
    const Reading r = readLog(log);
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.plays.at(0).title, "桜\xEF\xBF\xBD\xEF\xBF\xBD～さくら～");
}

namespace {

void expectFailure(const Reading& r, LogReadError::Cause cause, long line)
{
    ASSERT_TRUE(r.result.error.has_value());
    EXPECT_EQ(r.result.error->kind, LogReadError::Kind::Format);
    EXPECT_EQ(r.result.error->cause, cause);
    EXPECT_EQ(r.result.error->line, line);
}

} // namespace

TEST(ScoreLogReader, FailsWithTheCauseAndTheLineToBlame)
{
    // Two good entries (lines 1-18) before the broken one, whose marker is line 19.
    const std::string head = logOf({EntryText{}, EntryText{}});
    EntryText shortDate;
    shortDate.date = "Dat";
    expectFailure(readLog(head + logOf({shortDate})), LogReadError::Cause::ShortDateLine, 20);
    expectFailure(readLog(head + logOf({entryOn("")})), LogReadError::Cause::BadDate, 20);
    expectFailure(readLog(head + logOf({entryOn("2001/02/29 10:00:00")})), LogReadError::Cause::BadDate, 20);
    expectFailure(readLog(head + logOf({entryOn("2001/02/28 25:00:00")})), LogReadError::Cause::BadTime, 20);
    // The time needs four characters after the space to be found at all.
    expectFailure(readLog(head + logOf({entryOn("2001/02/28 1:2")})), LogReadError::Cause::BadDate, 20);
    expectFailure(readLog(head + logOf({withScore("2147483648")})), LogReadError::Cause::ScoreTooLarge, 26);
    EntryText hugeBpm;
    hugeBpm.bpm = "BPM:1E999";
    expectFailure(readLog(head + logOf({hugeBpm})), LogReadError::Cause::NumberTooLarge, 23);
    // A line too long fails where it stands, inside an entry or outside one.
    const std::string tooLong(tolvane::LineReader::kMaxLineBytes + 1, ' ');
    EntryText longGenre;
    longGenre.genre += tooLong;
    expectFailure(readLog(head + logOf({longGenre})), LogReadError::Cause::LineTooLong, 22);
    expectFailure(readLog(head + tooLong), LogReadError::Cause::LineTooLong, 19);

    // The plays before the failure were handed on.
    const Reading r = readLog(head + logOf({withScore("2147483648")}));
    EXPECT_EQ(r.plays.size(), 2u);
    EXPECT_EQ(readLog(logOf({withScore("2147483647")})).plays.at(0).score, 2147483647);
}

TEST(ScoreLogReader, AFileEndingInsideAnEntryBlamesTheEntrysMarker)
{
    std::string log = logOf({EntryText{}, EntryText{}});
    const std::string cut = log.substr(0, log.size() - 60); // loses the last line or two
    expectFailure(readLog(cut), LogReadError::Cause::EndsInsideEntry, 10);

    EntryText split;
    split.judge = "PGreat 155  Great 67";
    expectFailure(readLog(logOf({split})), LogReadError::Cause::EndsInsideEntry, 1);
    expectFailure(readLog(utf8ToCp932("[Start of Score] : 申請する時は、この行から切り取る")),
        LogReadError::Cause::EndsInsideEntry, 1);

    // A play that a filter drops needs none of its remaining lines.
    Filter f;
    f.SpanFilter = true;
    f.Mintime = tolvane::makeDate(2030, 1, 1);
    EXPECT_TRUE(readLog(cut, f).result.ok());
}

// Asked to, the reader goes on past each damaged entry at the next marker:
// the damaged ones count as entries but hand on no date, and the list says
// which they were; a failure to read the file is no damage.
TEST(ScoreLogReader, SkipsDamagedEntriesWhenAsked)
{
    EntryText hugeBpm;
    hugeBpm.bpm = "BPM:1E999";
    const std::string tooLong(tolvane::LineReader::kMaxLineBytes + 3, 'x');
    // Entries at lines 1, 10 (bad date), 19 (a title that does not decode),
    // 28 (score too large), then a line too long (37) between entries, 38
    // (huge BPM), 47, and 56 cut off before its last line.
    std::string bytes = logOf({EntryText{}, entryOn("2001/13/45 10:00:00"), EntryText{}, withScore("99999999999")})
        + tooLong + "\r\n" + logOf({hugeBpm, entryOn("2001/05/04 12:00:00"), EntryText{}});
    bytes.resize(bytes.size() - 60);
    const std::string title = utf8ToCp932("Title:桜");
    const std::size_t third = bytes.find(title, bytes.find(title, bytes.find(title) + 1) + 1);
    bytes.insert(third + title.size(), "\x80\xFD");

    Reading failing = readLog(bytes);
    expectFailure(failing, LogReadError::Cause::BadDate, 11);

    tolvane::LogReaderCallbacks callbacks;
    Reading r;
    callbacks.onPlay = [&](PlayRecord&& p) { r.plays.push_back(std::move(p)); };
    callbacks.onPlayDate = [&](const PlayDate& d) { r.dates.push_back(d); };
    tolvane::LogReadOptions options;
    options.skipDamaged = true;
    r.result = ScoreLogReader(Filter{}, callbacks, nullptr, options).readBytes(bytes);
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.result.entries, 7);
    EXPECT_EQ(r.result.accepted, 3);
    ASSERT_EQ(r.dates.size(), 3u);
    EXPECT_EQ(r.dates[2].line, 48);
    std::vector<std::pair<long, LogReadError::Cause>> skipped;
    for (const tolvane::SkippedEntry& s : r.result.skipped)
        skipped.emplace_back(s.line, s.error.cause);
    const std::vector<std::pair<long, LogReadError::Cause>> expected = {{11, LogReadError::Cause::BadDate},
        {35, LogReadError::Cause::ScoreTooLarge}, {37, LogReadError::Cause::LineTooLong},
        {42, LogReadError::Cause::NumberTooLarge}, {56, LogReadError::Cause::EndsInsideEntry}};
    EXPECT_EQ(skipped, expected);
    ASSERT_EQ(r.result.unreadable.size(), 1u);
    EXPECT_EQ(r.result.unreadable[0].play, 2);
    EXPECT_EQ(r.result.unreadable[0].line, 19);
    EXPECT_EQ(r.plays.at(1).no, 2);
    EXPECT_EQ(r.plays.at(2).dateTime, "2001/05/04 12:00:00");

    // Nothing but damage leaves no play; the caller fails on that as before.
    options.skipDamaged = true;
    const LogReadResult none = ScoreLogReader(Filter{}, {}, nullptr, options).readBytes(logOf({hugeBpm}));
    EXPECT_TRUE(none.ok());
    EXPECT_EQ(none.accepted, 0);
    EXPECT_EQ(none.skipped.size(), 1u);
    const LogReadResult missing = ScoreLogReader(Filter{}, {}, nullptr, options).read("/nonexistent/score.txt");
    EXPECT_EQ(missing.error->kind, LogReadError::Kind::Open);
}

TEST(ScoreLogReader, FailsToOpenAMissingFileOrADirectory)
{
    ScoreLogReader reader(Filter{}, {});
    for (const std::filesystem::path& path :
        {std::filesystem::path("/nonexistent/score.txt"), std::filesystem::temp_directory_path()}) {
        const LogReadResult r = reader.read(path);
        ASSERT_TRUE(r.error.has_value());
        EXPECT_EQ(r.error->kind, LogReadError::Kind::Open);
        EXPECT_EQ(r.error->line, 0);
    }
}

TEST(ScoreLogReader, ReportsProgressInTenthsCountedIn128ByteBlocks)
{
    // Ten junk lines of exactly 128 bytes: each line reads another tenth.
    const std::string line128 = std::string(126, 'x') + "\r\n";
    std::string tenLines;
    for (int i = 0; i < 10; ++i)
        tenLines += line128;
    EXPECT_EQ(readLog(tenLines).progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));

    // After a jump the threshold catches up ten at a time, one report per line.
    const std::string jump = std::string(638, 'x') + "\r\n" + line128 + line128 + line128 + line128 + line128;
    EXPECT_EQ(readLog(jump).progress, (std::vector<int>{50, 60, 70, 80, 90, 100}));

    // The first 127 bytes are block zero.
    EXPECT_EQ(
        readLog(std::string(125, 'x') + "\r\n" + std::string(126, 'y') + "\r\n").progress, (std::vector<int>{0, 50}));

    // However long the log, no more than ten reports.
    const Reading big = readLog(logOf({EntryText{}, EntryText{}, EntryText{}, EntryText{}, EntryText{}, EntryText{},
        EntryText{}, EntryText{}, EntryText{}, EntryText{}, EntryText{}, EntryText{}, EntryText{}, EntryText{}}));
    EXPECT_LE(big.progress.size(), 10u);
    EXPECT_GE(big.progress.back(), 90);
}

TEST(ScoreLogReader, YieldsEvery200EntriesAndStopsWhenAsked)
{
    std::string log;
    const std::string one = logOf({EntryText{}});
    for (int i = 0; i < 450; ++i)
        log += one;
    const Reading all = readLog(log);
    EXPECT_EQ(all.yields, 2);
    EXPECT_EQ(all.result.yieldCounter, 450);
    EXPECT_EQ(all.result.accepted, 450);

    const Reading stopped = readLog(log, Filter{}, 1);
    EXPECT_TRUE(stopped.result.cancelled);
    EXPECT_FALSE(stopped.result.ok());
    EXPECT_EQ(stopped.plays.size(), 199u);
}

TEST(ScoreLogReader, YieldsByBytesThroughLinesThatAreNoEntries)
{
    // A million short lines without an entry among them, then one entry.
    std::string log;
    for (int i = 0; i < (1 << 20); ++i)
        log += "ab\r\n";
    log += logOf({EntryText{}});
    const Reading all = readLog(log);
    EXPECT_TRUE(all.result.ok());
    EXPECT_EQ(all.result.accepted, 1);
    EXPECT_EQ(all.yields, 4); // one a MiB

    const Reading stopped = readLog(log, Filter{}, 1);
    EXPECT_TRUE(stopped.result.cancelled);
    EXPECT_FALSE(stopped.result.error.has_value());
    EXPECT_EQ(stopped.result.entries, 0);
}

TEST(ScoreLogReader, ReadsEveryPlayOfAGeneratedLogExactlyInEveryLineEndAndEncoding)
{
    using tolvane::testing::GeneratorOptions;
    using tolvane::testing::LineEnd;
    GeneratorOptions options;
    options.plays = 3000;
    options.meanGapMinutes = 240;
    options.startYear = 1999;
    options.junkRate = 0.1;
    options.nineLineRate = 0.1;
    for (const auto& [lineEnd, bom] : {std::pair{LineEnd::CrLf, false}, std::pair{LineEnd::Lf, false},
             std::pair{LineEnd::Cr, false}, std::pair{LineEnd::CrLf, true}}) {
        options.lineEnd = lineEnd;
        options.utf8WithBom = bom;
        const tolvane::testing::GeneratedLog log = tolvane::testing::generateLog(options);
        const Reading r = readLog(log.bytes);
        ASSERT_TRUE(r.result.ok());
        ASSERT_EQ(r.plays.size(), log.plays.size());
        ASSERT_EQ(r.dates.size(), log.plays.size());
        for (std::size_t i = 0; i < log.plays.size(); ++i) {
            const tolvane::testing::GeneratedPlay& want = log.plays[i];
            const PlayRecord& got = r.plays[i];
            SCOPED_TRACE("play " + std::to_string(i + 1));
            EXPECT_EQ(got.no, static_cast<int>(i + 1));
            EXPECT_EQ(got.dateTime, want.dateTime);
            EXPECT_EQ(got.title, want.title);
            EXPECT_EQ(got.artist, want.artist);
            EXPECT_EQ(got.genre, want.genre);
            EXPECT_EQ(got.level, want.level);
            EXPECT_EQ(got.bpm, want.bpm);
            EXPECT_EQ(got.totalNotes, want.totalNotes);
            EXPECT_EQ(got.score, want.score);
            EXPECT_EQ(got.maxCombo, want.maxCombo);
            EXPECT_EQ(
                got.date, tolvane::makeDate(want.year, want.month, want.day, want.hour, want.minute, want.second));
            EXPECT_EQ(r.dates[i].line, want.markerLine + 1);
            EXPECT_EQ(r.dates[i].hour, want.hour);
            EXPECT_EQ(r.dates[i].weekday, tolvane::weekdayOf(want.year, want.month, want.day));
            if (HasFailure())
                return;
        }
    }
}

TEST(ScoreLogReader, SurvivesBinaryFilesAndDamagedLogs)
{
    // Bytes that are no text at all: some runs of NULs, stray markers, random bytes.
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::string binary(200000, '\0');
    for (char& c : binary)
        c = static_cast<char>(next() % 7 == 0 ? 0 : next());
    const std::string marker = utf8ToCp932(std::string(ScoreLogReader::kMarker));
    for (std::size_t at = 1000; at < binary.size(); at += 9973)
        binary.replace(at, marker.size() + 2, "\r" + marker + "\n");
    const Reading r = readLog(binary);
    EXPECT_TRUE(r.result.ok() || r.result.error.has_value());

    // A good log with bytes flipped, dropped or cut off anywhere.
    tolvane::testing::GeneratorOptions options;
    options.plays = 40;
    const std::string log = tolvane::testing::generateLog(options).bytes;
    for (int round = 0; round < 300; ++round) {
        std::string damaged = log;
        for (int i = 0; i < 5; ++i) {
            const std::size_t at = next() % damaged.size();
            switch (next() % 3) {
            case 0: damaged[at] = static_cast<char>(next()); break;
            case 1: damaged.erase(at, next() % 40); break;
            default: damaged.resize(at); break;
            }
            if (damaged.empty())
                break;
        }
        const Reading d = readLog(damaged);
        EXPECT_LE(d.plays.size(), 40u);
        if (d.result.error) {
            EXPECT_EQ(d.result.error->kind, LogReadError::Kind::Format);
            EXPECT_GT(d.result.error->line, 0);
        }
    }
}
