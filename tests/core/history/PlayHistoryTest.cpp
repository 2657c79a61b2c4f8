// Several logs read as one history, and the history's three ways to change
// (load, append, narrow), each compared with one read of a single log.
#include "core/history/PlayHistory.h"
#include "core/follow/LogFollower.h"
#include "report/JsonReport.h"
#include "support/LogGenerator.h"
#include "support/LogText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

using namespace tolvane;
using tolvane::testing::TempDir;
using tolvane::testing::writeBytes;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// One entry of a log: its lines in UTF-8, and its time.
struct Entry {
    std::string text;
    std::int64_t seconds = 0;
};

std::vector<Entry> entriesOf(int plays, std::uint64_t seed)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = plays;
    options.seed = seed;
    options.utf8WithBom = true;
    options.junkRate = 0;
    options.lineEnd = tolvane::testing::LineEnd::Lf;
    const auto log = tolvane::testing::generateLog(options);
    std::vector<std::string> lines;
    for (std::size_t at = kBom.size(); at < log.bytes.size();) {
        const std::size_t end = log.bytes.find('\n', at);
        lines.push_back(log.bytes.substr(at, end - at + 1));
        at = end + 1;
    }
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < log.plays.size(); ++i) {
        const auto& p = log.plays[i];
        const long last = i + 1 < log.plays.size() ? log.plays[i + 1].markerLine : static_cast<long>(lines.size()) + 1;
        Entry e;
        for (long line = p.markerLine; line < last; ++line)
            e.text += lines[static_cast<std::size_t>(line - 1)];
        e.seconds = ((static_cast<std::int64_t>(p.year) * 400 + p.month * 32 + p.day) * 24 + p.hour) * 3600
            + p.minute * 60 + p.second;
        entries.push_back(e);
    }
    return entries;
}

std::string join(const std::vector<Entry>& entries, bool utf8)
{
    std::string text;
    for (const Entry& e : entries)
        text += e.text;
    return utf8 ? std::string(kBom) + text : tolvane::testing::utf8ToCp932(text);
}

// Everything the pages show of a history: the data list's rows of its view
// span, the rankings and the charts, as the report's JSON prints them.
std::string shown(const Analysis& analysis)
{
    report::ReportOptions options;
    options.view = report::View::All;
    options.format = report::Format::Json;
    const RunOutcome outcome;
    report::ReportData data{options, analysis, outcome, {}, analysis.periodChart};
    data.playRows = analysis.rows;
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* out = ::open_memstream(&buffer, &length);
    report::writeJsonReport(out, data);
    std::fclose(out);
    std::string text(buffer, length);
    std::free(buffer);
    return text;
}

// The logs merged by hand: in time order, equal times in log order, an entry
// dropped when another log's entry with the same text was kept before it.
std::vector<Entry> mergedByHand(const std::vector<std::vector<Entry>>& logs, int& duplicates)
{
    struct Place {
        std::int64_t seconds;
        std::size_t log;
        const Entry* entry;
    };
    std::vector<Place> all;
    for (std::size_t l = 0; l < logs.size(); ++l)
        for (const Entry& e : logs[l])
            all.push_back({e.seconds, l, &e});
    std::stable_sort(all.begin(), all.end(), [](const Place& a, const Place& b) { return a.seconds < b.seconds; });
    std::map<std::pair<std::int64_t, std::string>, std::size_t> kept;
    std::vector<Entry> merged;
    duplicates = 0;
    for (const Place& p : all) {
        const auto [at, inserted] = kept.try_emplace({p.seconds, p.entry->text}, p.log);
        if (!inserted && at->second != p.log) {
            ++duplicates;
            continue;
        }
        merged.push_back(*p.entry);
    }
    return merged;
}

} // namespace

TEST(PlayHistory, SeveralLogsReadAsTheirMergedEntriesInOneLog)
{
    TempDir dir;
    const std::vector<Entry> all = entriesOf(300, 7);
    // A in code page 932; B in UTF-8, overlapping A; C a copy of A; D with
    // plays at A's times but other scores, and one entry twice.
    const std::vector<Entry> a(all.begin(), all.begin() + 200);
    const std::vector<Entry> b(all.begin() + 150, all.end());
    std::vector<Entry> d{all[10], all[20], all[250], all[250]};
    for (Entry* e : {&d[0], &d[1]})
        e->text.replace(e->text.find("Score ") + 6, 0, "1");
    const std::vector<std::pair<std::vector<Entry>, bool>> logs{{a, false}, {b, true}, {a, false}, {d, false}};
    std::vector<LogSource> sources;
    std::vector<std::vector<Entry>> entries;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        sources.push_back({dir.file("log" + std::to_string(i) + ".txt")});
        writeBytes(sources.back().path, join(logs[i].first, logs[i].second));
        entries.push_back(logs[i].first);
    }
    int duplicates = 0;
    const std::vector<Entry> merged = mergedByHand(entries, duplicates);
    // B's overlap, all of C, and both of D's copies of an entry B holds.
    ASSERT_EQ(duplicates, 50 + 200 + 2);

    PlayHistory history;
    const RunOutcome o = history.load(sources, Filter{}, GraphSettings{});
    ASSERT_EQ(o.state, RunOutcome::State::Completed);
    EXPECT_EQ(o.duplicates, duplicates);
    EXPECT_EQ(o.entries, 200 + 150 + 200 + 4);
    EXPECT_EQ(o.accepted, static_cast<int>(merged.size()));
    EXPECT_EQ(o.logs[1].duplicates, 50);
    EXPECT_EQ(o.logs[2].duplicates, 200);
    EXPECT_EQ(o.logs[2].accepted, 0);
    EXPECT_EQ(o.logs[3].accepted, 2);

    PlayHistory one;
    const std::string oneLog = join(merged, true);
    ASSERT_EQ(one.load({LogSource{{}, oneLog}}, Filter{}, GraphSettings{}).state, RunOutcome::State::Completed);
    EXPECT_EQ(shown(history.analysis()), shown(one.analysis()));
    for (std::size_t r = 0; r < history.analysis().plays.size(); ++r)
        EXPECT_EQ(history.analysis().plays.row(r).no, static_cast<int>(r) + 1);

    // A damaged log fails the load, naming it, and the history stays as it was.
    std::string damaged = join(b, false);
    damaged.replace(damaged.find("Date:") + 5, 4, "20x1");
    writeBytes(dir.file("damaged.txt"), damaged);
    const std::string before = shown(history.analysis());
    const RunOutcome failed = history.load({sources[0], LogSource{dir.file("damaged.txt")}}, Filter{}, GraphSettings{});
    ASSERT_EQ(failed.state, RunOutcome::State::Failed);
    EXPECT_EQ(failed.failure->kind, AnalysisFailure::Kind::Format);
    EXPECT_EQ(failed.failure->file, dir.file("damaged.txt").string());
    EXPECT_EQ(failed.message.front(), dir.file("damaged.txt").string());
    EXPECT_EQ(shown(history.analysis()), before);
    EXPECT_EQ(history.logs().size(), 4u);
}

// Following one log, or one of two, with a view period active: every figure
// as a fresh read of the longer logs narrowed to the same period.
TEST(PlayHistory, AppendsUnderAViewPeriodAsAFreshNarrowedRead)
{
    TempDir dir;
    const std::vector<Entry> all = entriesOf(400, 11);
    const ViewSpan span{static_cast<DateValue>(makeDate(2002, 1, 1)), static_cast<DateValue>(makeDate(2002, 3, 31))};
    for (const bool two : {false, true}) {
        SCOPED_TRACE(two);
        const auto path = dir.file(two ? "a2.txt" : "a.txt");
        const auto other = dir.file("b.txt");
        writeBytes(path, join({all.begin(), all.begin() + 250}, false));
        writeBytes(other, join({all.begin() + 100, all.begin() + 200}, true));
        std::vector<LogSource> logs{{path}};
        if (two)
            logs.push_back({other});
        PlayHistory history;
        const RunOutcome o = history.load(logs, Filter{}, GraphSettings{});
        ASSERT_EQ(o.state, RunOutcome::State::Completed);
        ASSERT_TRUE(history.narrow(span));
        LogFollower follower;
        ASSERT_TRUE(follower.start(path, Filter{}, o.logs.front()));
        for (const std::size_t end : {260, 300, 400}) {
            writeBytes(path, join({all.begin(), all.begin() + static_cast<std::ptrdiff_t>(end)}, false));
            AppendOutcome appended;
            ASSERT_EQ(followOnce(history, 0, follower, &appended).kind, FollowUpdate::Kind::Added);
            EXPECT_EQ(appended.firstRow + appended.rows, history.analysis().plays.size());

            PlayHistory fresh;
            ASSERT_EQ(fresh.load(logs, Filter{}, GraphSettings{}).state, RunOutcome::State::Completed);
            fresh.narrow(span);
            EXPECT_EQ(shown(history.analysis()), shown(fresh.analysis())) << end;
            EXPECT_EQ(history.analysis().entryDates.size(), fresh.analysis().entryDates.size());
        }
        // An entry earlier than the history's end cannot join a history of several logs.
        if (two) {
            std::string text = join({all.begin(), all.begin() + 400}, false);
            writeBytes(path, text + tolvane::testing::utf8ToCp932(all[5].text));
            EXPECT_EQ(followOnce(history, 0, follower).kind, FollowUpdate::Kind::Reload);
        }
    }
}
