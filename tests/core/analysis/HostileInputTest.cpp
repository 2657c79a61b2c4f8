// Logs nobody means to write: huge, long-lined, binary, changing under the
// reader, or not files at all. Whatever comes, a run ends cleanly: completed,
// or failed with a typed cause; never a crash, a hang or a wrapped counter.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/RunTexts.h"
#include "core/log/LineReader.h"
#include "core/log/ScoreLogReader.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"

#include "support/TempDir.h"
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>

#include <gtest/gtest.h>
#include <new>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tolvane;
using tolvane::testing::EntryText;
using tolvane::testing::GeneratorOptions;

namespace fs = std::filesystem;

using tolvane::testing::TempDir;
using tolvane::testing::writeBytes;

namespace {

constexpr std::int32_t kInt16Max = 32767;

std::string cp932(std::string_view utf8)
{
    return tolvane::testing::utf8ToCp932(utf8);
}

// Bytes that no text editor would make: every value 0..255, NULs and line ends included.
std::string randomBytes(std::size_t size, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng() & 0xFF);
    return bytes;
}

RunOutcome runFile(Analysis& a, const fs::path& path, RunCallbacks callbacks = {})
{
    return AnalysisRun(a, Filter{}, GraphSettings{}, std::move(callbacks)).run(path);
}

// A run that did not complete must say why, with a cause of its own kind.
void expectTypedFailure(const RunOutcome& o)
{
    ASSERT_EQ(o.state, RunOutcome::State::Failed);
    ASSERT_TRUE(o.failure.has_value());
    EXPECT_FALSE(o.message.empty());
}

// The process's peak resident memory so far.
long peakMemoryKb()
{
    struct rusage usage { };
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string rowValue(const ChartRows& rows, std::string_view label)
{
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const ChartRow& r) { return r.label == label; });
    return row == rows.end() ? std::string("(no row)") : chartValueText(row->value);
}

} // namespace

TEST(HostileInput, CountersPass32767OnAGeneratedLogOf200000Plays)
{
    // Three songs and a play every second: each song, the year, the month, a
    // day and a weekday all gather far more than a 16-bit counter holds.
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    GeneratorOptions options;
    options.plays = 200000;
    options.songs = 3;
    options.caseVariantRate = 0;
    options.meanGapMinutes = 0;
    tolvane::testing::writeLog(path.string(), options);

    Analysis a;
    const RunOutcome o = runFile(a, path);
    ASSERT_EQ(o.state, RunOutcome::State::Completed) << (o.message.empty() ? "" : o.message.back());
    EXPECT_EQ(o.entries, 200000);
    EXPECT_EQ(o.accepted, 200000);
    ASSERT_EQ(a.plays.size(), 200000u);
    EXPECT_EQ(a.plays.row(199999).no, 200000);

    std::int64_t songPlays = 0;
    for (const tolvane::testing::PoolSong& song : tolvane::testing::songPool(options)) {
        const std::int32_t counter = a.rankings.songs.at(song.titleVariants.front()).plays;
        EXPECT_GT(counter, kInt16Max) << song.titleVariants.front();
        songPlays += counter;
    }
    EXPECT_EQ(songPlays, 200000);
    std::int64_t genrePlays = 0;
    for (const Rank& genre : a.rankings.genres)
        genrePlays += genre.plays;
    EXPECT_EQ(genrePlays, 200000);

    // Every play falls within a few days of 21 November 2001.
    EXPECT_EQ(a.calendar.count(2001), 200000);
    EXPECT_EQ(a.calendar.count(2001, 11), 200000);
    EXPECT_EQ(a.counts.yearTotal(2001), 200000);
    EXPECT_EQ(a.counts.monthTotal(11), 200000);
    // 22 November, a Thursday, is played all day long.
    EXPECT_GT(a.calendar.count(2001, 11, 22), kInt16Max);
    EXPECT_EQ(a.counts.dayTotal(22), a.calendar.count(2001, 11, 22));
    EXPECT_EQ(a.counts.weekdayTotal(5), a.calendar.count(2001, 11, 22));
    std::int64_t hourPlays = 0;
    for (int hour = 0; hour < 24; ++hour)
        hourPlays += a.counts.hourTotal(hour);
    EXPECT_EQ(hourPlays, 200000);

    EXPECT_EQ(rowValue(a.totals.year, "2001年"), "200000");
    EXPECT_EQ(rowValue(a.totals.month, "１１月"), "200000");
}

TEST(HostileInput, EveryCounterPasses32767WhenAllPlaysShareOneHour)
{
    // Hours of the day only pass 32767 in a generated log of some 800,000
    // plays; 40,000 plays logged at one moment get there at once, and take
    // every node of the calendar along.
    EntryText entry;
    entry.date = "Date:2005/01/15 21:30:00"; // a Saturday
    const std::string one = cp932(entry.text());
    std::string log;
    log.reserve(one.size() * 40000);
    for (int i = 0; i < 40000; ++i)
        log += one;

    Analysis a;
    const RunOutcome o = AnalysisRun(a, Filter{}, GraphSettings{}, {}).runBytes(log);
    ASSERT_EQ(o.state, RunOutcome::State::Completed);
    EXPECT_EQ(o.accepted, 40000);
    EXPECT_EQ(a.rankings.songs.at("桜～さくら～").plays, 40000);
    EXPECT_EQ(a.rankings.artists.at("ゆきんこ").plays, 40000);
    EXPECT_EQ(a.rankings.genres.at("和風").plays, 40000);
    EXPECT_EQ(a.calendar.count(2005), 40000);
    EXPECT_EQ(a.calendar.count(2005, 1), 40000);
    EXPECT_EQ(a.calendar.count(2005, 1, 15), 40000);
    EXPECT_EQ(a.calendar.count(2005, 1, 15, 21), 40000);
    EXPECT_EQ(a.counts.yearTotal(2005), 40000);
    EXPECT_EQ(a.counts.monthTotal(1), 40000);
    EXPECT_EQ(a.counts.dayTotal(15), 40000);
    EXPECT_EQ(a.counts.weekdayTotal(7), 40000);
    EXPECT_EQ(a.counts.hourTotal(21), 40000);
    EXPECT_EQ(rowValue(a.totals.hour, "21"), "40000");
    EXPECT_EQ(rowValue(a.totals.weekday, "土曜日"), "40000");
    ASSERT_FALSE(a.periodChart.rows.empty());
    EXPECT_EQ(a.periodChart.rows.front().value, 40000);
}

TEST(HostileInput, LinesOfTheLongestLengthInsideAndOutsideEntries)
{
    // Every line below is exactly as long as a line may be.
    const std::size_t mb = LineReader::kMaxLineBytes;
    std::string kana; // a double-byte character in code page 932
    for (std::size_t i = 0; i < (mb - 24) / 2; ++i)
        kana += "あ";

    EntryText longTitle;
    longTitle.title = "Title:" + kana + "   Artist:ゆきんこ";
    EntryText longGenreAndBpm;
    longGenreAndBpm.genre = "Genre:" + std::string(mb - 20, 'g') + "   PlayLevel:7";
    longGenreAndBpm.bpm = "BPM:" + std::string(mb - 7, ' ') + "150";
    EntryText longJudgement;
    longJudgement.date = "Date:2001/05/04 9:00:00" + std::string(mb - 23, ' ');
    longJudgement.judge = "Great " + std::string(mb - 21, '1') + "   MaxCombo 222";

    const std::string utf8 = std::string(mb, 'x') + "\r\n" // junk between entries
        + "[Start of Score] : " + std::string(mb - 19, '#') + "\r\n" // the marker's head, then no marker
        + longTitle.text() + longGenreAndBpm.text() + longJudgement.text() + std::string(mb, 'z'); // no line end
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    writeBytes(path, cp932(utf8));

    Analysis a;
    const RunOutcome o = runFile(a, path);
    ASSERT_EQ(o.state, RunOutcome::State::Completed) << (o.message.empty() ? "" : o.message.back());
    ASSERT_EQ(a.plays.size(), 3u);
    EXPECT_EQ(a.plays.row(0).title, kana);
    EXPECT_EQ(a.plays.row(0).artist, "ゆきんこ");
    EXPECT_EQ(a.plays.row(1).genre.size(), mb - 20);
    EXPECT_EQ(a.plays.row(1).level, 7);
    EXPECT_EQ(a.plays.row(1).bpm, 150);
    EXPECT_EQ(a.plays.row(2).maxCombo, 222);
    EXPECT_EQ(a.rankings.songs.at(kana).plays, 1);

    // A long line that breaks an entry is blamed by its number, long lines before it counted right.
    EntryText badDate;
    badDate.date = "Date:2001/05/04 " + std::string(mb - 16, '9');
    writeBytes(path, cp932(std::string(mb, 'x') + "\r\n" + std::string(mb, 'y') + "\n" + badDate.text()));
    const RunOutcome bad = runFile(a, path);
    expectTypedFailure(bad);
    EXPECT_EQ(bad.failure->kind, AnalysisFailure::Kind::Format);
    EXPECT_EQ(bad.failure->cause, AnalysisFailure::Cause::BadTime);
    EXPECT_EQ(bad.failure->line, 4);

    // One byte more and the line is too long.
    badDate.date += "9";
    writeBytes(path, cp932(std::string(mb, 'x') + "\r\n" + std::string(mb, 'y') + "\n" + badDate.text()));
    const RunOutcome tooLong = runFile(a, path);
    expectTypedFailure(tooLong);
    EXPECT_EQ(tooLong.failure->kind, AnalysisFailure::Kind::Format);
    EXPECT_EQ(tooLong.failure->cause, AnalysisFailure::Cause::LineTooLong);
    EXPECT_EQ(tooLong.failure->line, 4);
    EXPECT_EQ(tooLong.message.back(), "4行目: 行が長すぎます（1行1MBまで）。");
}

TEST(HostileInput, AZeroFilledGigabyteFailsAtLineOneInBoundedMemory)
{
    // The leftover of a crash: a gigabyte of zero bytes and no line end. It
    // once took three times its size in memory.
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 30), 0); // sparse: no disk space taken
    ::close(fd);

    const long peakBefore = peakMemoryKb();
    Analysis a;
    const RunOutcome o = runFile(a, path);
    expectTypedFailure(o);
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Format);
    EXPECT_EQ(o.failure->cause, AnalysisFailure::Cause::LineTooLong);
    EXPECT_EQ(o.failure->line, 1);
    EXPECT_EQ(o.sizeBytes, std::uint64_t{1} << 30);
    EXPECT_LT(peakMemoryKb() - peakBefore, 64 * 1024) << "the process's peak memory grew by this many KB";
}

TEST(HostileInput, MemoryRunningOutFailsTheRunInsteadOfEndingTheProgram)
{
    Analysis a;
    RunCallbacks callbacks;
    callbacks.onStatus = [](const std::string& text) {
        if (text == RunTexts::kDrawingStatus)
            throw std::bad_alloc();
    };
    const RunOutcome o
        = AnalysisRun(a, Filter{}, GraphSettings{}, callbacks).runBytes(tolvane::testing::logOf({EntryText{}}));
    expectTypedFailure(o);
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Open);
    EXPECT_EQ(o.failure->cause, AnalysisFailure::Cause::OutOfMemory);
    EXPECT_EQ(o.message, (std::vector<std::string>{std::string(RunTexts::kCannotAnalyse), "メモリが足りません。"}));
    // What was built is let go, to give the memory back.
    EXPECT_EQ(a.plays.size(), 0u);
}

TEST(HostileInput, AStopAskedForAmongAMillionLinesThatAreNoEntriesIsHonoured)
{
    // The yields came only with entries: a long stretch without one never
    // gave the window a chance to take a close request.
    std::string log = tolvane::testing::logOf({EntryText{}});
    for (int i = 0; i < 1000000; ++i)
        log += "-\n";
    log += tolvane::testing::logOf({EntryText{}});
    int yields = 0;
    RunCallbacks callbacks;
    callbacks.onYield = [&] { return ++yields < 1; };
    Analysis a;
    const RunOutcome o = AnalysisRun(a, Filter{}, GraphSettings{}, callbacks).runBytes(log);
    EXPECT_EQ(o.state, RunOutcome::State::Cancelled);
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(o.entries, 1);
    EXPECT_TRUE(o.message.empty());
}

TEST(HostileInput, ABinaryFileIsNoLog)
{
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    Analysis a;

    writeBytes(path, randomBytes(4 << 20, 7));
    const RunOutcome noise = runFile(a, path);
    expectTypedFailure(noise);
    EXPECT_EQ(noise.failure->kind, AnalysisFailure::Kind::NoPlays);
    EXPECT_EQ(noise.entries, 0);

    writeBytes(path, std::string(1 << 20, '\0'));
    const RunOutcome zeros = runFile(a, path);
    expectTypedFailure(zeros);
    EXPECT_EQ(zeros.failure->kind, AnalysisFailure::Kind::NoPlays);

    // Entries whose lines after the date are binary: the fields come out as
    // replacement characters and numbers, or the entry breaks with a cause.
    const std::string marker = cp932(tolvane::testing::kMarkerLine) + "\r\n";
    std::string damaged;
    std::mt19937 rng(11);
    for (int i = 0; i < 300; ++i) {
        damaged += marker + "Date:2002/02/02 22:22:22\r\n";
        for (int line = 0; line < 7; ++line) {
            std::string noise = randomBytes(1 + rng() % 200, static_cast<std::uint32_t>(rng()));
            std::replace(noise.begin(), noise.end(), '\r', '.');
            std::replace(noise.begin(), noise.end(), '\n', '.');
            damaged += (line == 6 ? "Great " : "") + noise + "\r\n";
        }
    }
    writeBytes(path, damaged);
    const RunOutcome o = runFile(a, path);
    if (o.state == RunOutcome::State::Completed) {
        EXPECT_EQ(static_cast<std::int32_t>(a.plays.size()), o.accepted);
    } else {
        expectTypedFailure(o);
    }
    EXPECT_GE(o.entries, 1);
}

TEST(HostileInput, AFileThatGrowsWhileItIsReadIsReadToTheEndFound)
{
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    GeneratorOptions options;
    options.plays = 10000; // some 3 MB: more than one read of the file
    options.meanGapMinutes = 30;
    tolvane::testing::writeLog(path.string(), options);
    GeneratorOptions later = options;
    later.plays = 1000;
    later.junkRate = 0; // no header line: entries only
    later.startYear = 2003;
    const std::string more = tolvane::testing::generateLog(later).bytes;

    // The reader: 1,000 plays appended after its 100th play.
    std::int32_t plays = 0;
    int lastPercent = 0;
    LogReaderCallbacks callbacks;
    callbacks.onPlay = [&](PlayRecord&&) {
        if (++plays == 100)
            writeBytes(path, more, std::ios::app);
    };
    callbacks.onProgress = [&](int percent) {
        EXPECT_GE(percent, lastPercent);
        EXPECT_LE(percent, 100);
        lastPercent = percent;
    };
    const LogReadResult read = ScoreLogReader(Filter{}, callbacks).read(path);
    EXPECT_TRUE(read.ok()) << (read.error ? read.error->detail : "");
    EXPECT_GE(read.accepted, 10000);
    EXPECT_LE(read.accepted, 11000);
    EXPECT_EQ(read.accepted, plays);

    // The whole run: the log grows again at its first yield.
    tolvane::testing::writeLog(path.string(), options);
    Analysis a;
    bool grown = false;
    RunCallbacks runCallbacks;
    runCallbacks.onYield = [&] {
        if (!grown)
            writeBytes(path, more, std::ios::app);
        grown = true;
        return true;
    };
    const RunOutcome o = runFile(a, path, runCallbacks);
    ASSERT_EQ(o.state, RunOutcome::State::Completed) << (o.message.empty() ? "" : o.message.back());
    EXPECT_GE(o.accepted, 10000);
    EXPECT_LE(o.accepted, 11000);
    EXPECT_EQ(static_cast<std::int32_t>(a.plays.size()), o.accepted);
}

TEST(HostileInput, AFileThatShrinksWhileItIsReadEndsTheRunCleanly)
{
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    GeneratorOptions options;
    options.plays = 10000;
    options.meanGapMinutes = 30;
    tolvane::testing::writeLog(path.string(), options);
    const std::uintmax_t size = fs::file_size(path);

    // Cut to nothing, to the middle, and to just past what the reader holds.
    for (const std::uintmax_t cut : {std::uintmax_t{0}, size / 2, (std::uintmax_t{1} << 20) + 100}) {
        SCOPED_TRACE("cut to " + std::to_string(cut) + " bytes");
        tolvane::testing::writeLog(path.string(), options);
        std::int32_t plays = 0;
        LogReaderCallbacks callbacks;
        callbacks.onPlay = [&](PlayRecord&&) {
            if (++plays == 100)
                fs::resize_file(path, cut);
        };
        const LogReadResult read = ScoreLogReader(Filter{}, callbacks).read(path);
        EXPECT_FALSE(read.cancelled);
        EXPECT_GE(read.accepted, 100);
        EXPECT_LT(read.accepted, 10000);
        EXPECT_EQ(read.accepted, plays);
        // The cut may fall anywhere in a line: the entry it breaks fails as a damaged one.
        if (read.error) {
            EXPECT_EQ(read.error->kind, LogReadError::Kind::Format) << read.error->detail;
        }

        tolvane::testing::writeLog(path.string(), options);
        Analysis a;
        bool cutDone = false;
        RunCallbacks runCallbacks;
        runCallbacks.onYield = [&] {
            if (!cutDone)
                fs::resize_file(path, cut);
            cutDone = true;
            return true;
        };
        const RunOutcome o = runFile(a, path, runCallbacks);
        if (o.state != RunOutcome::State::Completed) {
            expectTypedFailure(o);
            EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Format);
        }
        EXPECT_GE(o.accepted, 200);
        EXPECT_LT(o.accepted, 10000);
        // A failed run leaves nothing of what it read.
        EXPECT_EQ(static_cast<std::int32_t>(a.plays.size()), o.state == RunOutcome::State::Completed ? o.accepted : 0);
    }
}

TEST(HostileInput, APathThatIsAFolderCannotBeOpened)
{
    TempDir dir;
    Analysis a;
    const RunOutcome o = runFile(a, dir.path());
    expectTypedFailure(o);
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Open);
    EXPECT_EQ(o.message,
        (std::vector<std::string>{std::string(RunTexts::kCannotOpen), "（ファイルではなくフォルダーです）"}));
    const RunOutcome device = runFile(a, "/dev/zero");
    EXPECT_EQ(device.message.back(), "（通常のファイルではありません（デバイスや名前付きパイプなど））");

    const LogReadResult read = ScoreLogReader(Filter{}, {}).read(dir.path());
    ASSERT_TRUE(read.error.has_value());
    EXPECT_EQ(read.error->kind, LogReadError::Kind::Open);
}

TEST(HostileInput, AFileWithoutReadPermissionCannotBeOpened)
{
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    writeBytes(path, tolvane::testing::logOf({EntryText{}}));
    fs::permissions(path, fs::perms::none);
    if (::access(path.c_str(), R_OK) == 0)
        GTEST_SKIP() << "this user reads files whatever their permission bits say (root does)";

    Analysis a;
    const RunOutcome o = runFile(a, path);
    expectTypedFailure(o);
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Open);
    EXPECT_EQ(o.message.front(), RunTexts::kCannotOpen);
    EXPECT_FALSE(o.failure->detail.empty());
}

TEST(HostileInput, ANamedPipeWithoutAWriterIsRefusedAtOnce)
{
    // A blocking open waited here for a writer, and the window hung with it.
    TempDir dir;
    const fs::path path = dir.file("score.txt");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    RunOutcome o;
    EXPECT_TRUE(tolvane::testing::returnsWithoutAWriter(path, [&] {
        Analysis a;
        o = runFile(a, path);
    })) << "the run waited for something to write to the pipe";
    expectTypedFailure(o);
    EXPECT_EQ(o.failure->kind, AnalysisFailure::Kind::Open);
}
