#include "core/follow/LogFollower.h"
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/insights/PlayRows.h"
#include "report/JsonReport.h"
#include "support/LogGenerator.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

using namespace tolvane;
using tolvane::testing::TempDir;
using tolvane::testing::writeBytes;
namespace fs = std::filesystem;

namespace {

// Everything the window shows of an analysis (data list, rankings, charts),
// as the report's JSON prints it; the file's figures come from outcome.
std::string shown(const Analysis& analysis, const RunOutcome& outcome)
{
    report::ReportOptions options;
    options.view = report::View::All;
    options.format = report::Format::Json;
    report::ReportData data{options, analysis, outcome, {}, analysis.periodChart};
    data.playRows = allRows(analysis.plays);
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* out = ::open_memstream(&buffer, &length);
    report::writeJsonReport(out, data);
    std::fclose(out);
    std::string text(buffer, length);
    std::free(buffer);
    return text;
}

// The byte offset where line (1-based) starts.
std::size_t lineStart(const std::string& bytes, long line)
{
    std::size_t at = 0;
    for (long n = 1; n < line; ++n) {
        at = bytes.find_first_of("\r\n", at);
        at += bytes.compare(at, 2, "\r\n") == 0 ? 2 : 1;
    }
    return at;
}

class LogFollowerTest : public ::testing::Test {
protected:
    // Reads the first `initial` bytes of log in full and starts following them.
    void openWith(const std::string& initial)
    {
        writeBytes(path, initial);
        history = std::make_unique<PlayHistory>();
        const RunOutcome outcome = history->load({LogSource{path}}, filter, GraphSettings{});
        ASSERT_EQ(outcome.state, RunOutcome::State::Completed);
        ASSERT_TRUE(follower.start(path, filter, outcome.logs.front()));
    }
    FollowUpdate poll() { return followOnce(*history, 0, follower); }
    const Analysis& analysis() const { return history->analysis(); }
    void append(std::string_view bytes) { writeBytes(path, bytes, std::ios::app); }
    // The analysis agrees with a full read of the file as it is now.
    void expectAsAFullRead()
    {
        Analysis full;
        const RunOutcome outcome = AnalysisRun(full, filter, GraphSettings{}, {}).run(path);
        ASSERT_EQ(outcome.state, RunOutcome::State::Completed);
        EXPECT_EQ(analysis().plays.size(), full.plays.size());
        const std::string followed = shown(analysis(), outcome);
        const std::string read = shown(full, outcome);
        const auto differ = std::mismatch(followed.begin(), followed.end(), read.begin(), read.end());
        EXPECT_TRUE(followed == read) << "first difference: "
                                      << followed.substr(
                                             std::max<std::ptrdiff_t>(differ.first - followed.begin() - 200, 0), 400)
                                      << "\n---- a full read has:\n"
                                      << read.substr(
                                             std::max<std::ptrdiff_t>(differ.second - read.begin() - 200, 0), 400);
        // The calendar, through the period chart at each level.
        const CivilDate at = full.counts.latest();
        for (int level = 2; level <= 5; ++level) {
            ChartNavigation followed = analysis().navigation;
            EXPECT_EQ(followed.drawAt(level, at)->rows, full.navigation.drawAt(level, at)->rows) << level;
        }
    }

    TempDir dir;
    fs::path path = dir.file("score.txt");
    Filter filter;
    std::unique_ptr<PlayHistory> history = std::make_unique<PlayHistory>();
    LogFollower follower;
};

tolvane::testing::GeneratedLog generated(tolvane::testing::LineEnd lineEnd, bool utf8)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = 400;
    options.lineEnd = lineEnd;
    options.utf8WithBom = utf8;
    options.autoplayRate = 0.2;
    return tolvane::testing::generateLog(options);
}

} // namespace

TEST_F(LogFollowerTest, AppendedWholeEntriesAddWhatAFullReadOfTheLongerLogHas)
{
    using tolvane::testing::LineEnd;
    for (const auto& [lineEnd, utf8] : {std::pair{LineEnd::CrLf, false}, {LineEnd::Lf, true}, {LineEnd::Cr, false}}) {
        const auto log = generated(lineEnd, utf8);
        const std::size_t cut = lineStart(log.bytes, log.plays[250].markerLine);
        const std::size_t cut2 = lineStart(log.bytes, log.plays[253].markerLine);
        Filter autoplayAndScore;
        autoplayAndScore.IgnoreAutoplay = true;
        autoplayAndScore.ScoreFilter = true;
        autoplayAndScore.MinScore = 80000;
        Filter span;
        span.SpanFilter = true;
        span.Mintime = makeDate(log.plays[20].year, log.plays[20].month, log.plays[20].day);
        span.Maxtime = makeDate(log.plays[300].year, log.plays[300].month, log.plays[300].day);
        for (const Filter& f : {Filter{}, autoplayAndScore, span}) {
            SCOPED_TRACE(static_cast<int>(lineEnd) * 10 + f.SpanFilter * 2 + f.ScoreFilter);
            filter = f;
            openWith(log.bytes.substr(0, cut));
            // Three plays, then the rest.
            append(log.bytes.substr(cut, cut2 - cut));
            const FollowUpdate three = poll();
            EXPECT_EQ(three.kind, FollowUpdate::Kind::Added);
            EXPECT_EQ(three.entries, 3);
            EXPECT_EQ(poll().kind, FollowUpdate::Kind::Unchanged);
            append(log.bytes.substr(cut2));
            poll();
            expectAsAFullRead();
        }
    }
}

TEST_F(LogFollowerTest, AnEntryCutShortWaitsForTheRestOfIt)
{
    const auto log = generated(tolvane::testing::LineEnd::CrLf, false);
    const std::size_t start = lineStart(log.bytes, log.plays[100].markerLine);
    openWith(log.bytes.substr(0, start));
    const std::size_t next = lineStart(log.bytes, log.plays[101].markerLine);
    const std::size_t midLine = lineStart(log.bytes, log.plays[101].markerLine + 4) + 5;
    const std::size_t afterCr = log.bytes.find("\r\n", midLine) + 1;
    // A whole entry and part of the next, cut inside a line; then cut between CR and LF.
    append(log.bytes.substr(start, midLine - start));
    const FollowUpdate first = poll();
    EXPECT_EQ(first.kind, FollowUpdate::Kind::Added);
    EXPECT_EQ(first.entries, 1);
    ASSERT_LT(next, midLine);
    append(log.bytes.substr(midLine, afterCr - midLine));
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Unchanged);
    // The rest of the log, the LF of that line end first.
    append(log.bytes.substr(afterCr));
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Added);
    expectAsAFullRead();

    // A log whose last line has no line end yet is read again in full once it grows.
    const std::string ending = log.bytes.substr(0, next - 2);
    openWith(ending);
    append("\r\n");
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Reload);
}

TEST_F(LogFollowerTest, AShrunkReplacedRewrittenOrMissingLogIsReadAgainInFull)
{
    const auto log = generated(tolvane::testing::LineEnd::CrLf, false);
    const std::size_t cut = lineStart(log.bytes, log.plays[200].markerLine);
    openWith(log.bytes.substr(0, cut));
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Unchanged);
    fs::resize_file(path, cut - 100);
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Reload);

    openWith(log.bytes.substr(0, cut));
    writeBytes(dir.file("new.txt"), log.bytes);
    fs::rename(dir.file("new.txt"), path);
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Reload);

    // Same file, longer, but its start rewritten.
    openWith(log.bytes.substr(0, cut));
    std::string rewritten = log.bytes;
    rewritten[lineStart(log.bytes, log.plays[0].markerLine + 1) + 8] ^= 1;
    writeBytes(path, rewritten, std::ios::in | std::ios::out);
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Reload);

    fs::remove(path);
    EXPECT_EQ(poll().kind, FollowUpdate::Kind::Gone);
}

TEST_F(LogFollowerTest, ABrokenAppendedEntryStopsFollowingWithTheFullReadsMessage)
{
    const auto log = generated(tolvane::testing::LineEnd::CrLf, false);
    const std::size_t cut = lineStart(log.bytes, log.plays[10].markerLine);
    openWith(log.bytes.substr(0, cut));
    std::string broken = log.bytes.substr(cut, lineStart(log.bytes, log.plays[12].markerLine) - cut);
    broken.replace(broken.find("Date:") + 5, 4, "20x1");
    append(broken);
    const std::size_t before = analysis().plays.size();
    const FollowUpdate update = poll();
    ASSERT_EQ(update.kind, FollowUpdate::Kind::Failed);
    Analysis full;
    EXPECT_EQ(update.message, AnalysisRun(full, filter, GraphSettings{}, {}).run(path).message);
    EXPECT_FALSE(follower.following());
    EXPECT_EQ(analysis().plays.size(), before);
}
