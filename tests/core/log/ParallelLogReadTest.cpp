#include "core/log/LineReader.h"
#include "core/log/ScoreLogReader.h"
#include "support/LogGenerator.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using tolvane::Filter;
using tolvane::LogReaderCallbacks;
using tolvane::LogReadOptions;
using tolvane::LogReadResult;
using tolvane::PlayDate;
using tolvane::PlayRecord;
using tolvane::ScoreLogReader;

namespace {

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// Everything a reading handed on, one text per call, and how it ended.
struct Reading {
    std::vector<std::string> calls;
    std::string end;
};

Reading readWith(
    std::string_view bytes, const std::filesystem::path& file, const Filter& filter, LogReadOptions options)
{
    Reading r;
    LogReaderCallbacks callbacks;
    callbacks.onPlayDate = [&](const PlayDate& d) {
        r.calls.push_back("date " + number(d.date) + " " + std::to_string(d.year) + "/" + std::to_string(d.month) + "/"
            + std::to_string(d.day) + " w" + std::to_string(d.weekday) + " h" + std::to_string(d.hour) + " line "
            + std::to_string(d.line));
    };
    callbacks.onPlay = [&](PlayRecord&& p) {
        std::string text = "play " + std::to_string(p.no) + " [" + std::string(p.dateTime) + "] ["
            + std::string(p.title) + "] [" + std::string(p.artist) + "] [" + std::string(p.genre) + "]";
        for (double value : {p.level, p.bpm, p.totalNotes, p.maxCombo, p.date, p.judgements[0], p.judgements[1],
                 p.judgements[2], p.judgements[3]})
            text += " " + number(value);
        text += " " + std::to_string(p.score) + " " + std::to_string(p.autoplay) + std::to_string(p.autoScratch);
        r.calls.push_back(std::move(text));
    };
    ScoreLogReader reader(filter, callbacks, nullptr, options);
    const LogReadResult result = file.empty() ? reader.readBytes(bytes) : reader.read(file);
    r.end = "accepted " + std::to_string(result.accepted) + " entries " + std::to_string(result.entries) + " end "
        + std::to_string(result.endOffset) + " line " + std::to_string(result.endLine) + " maxtime "
        + std::to_string(result.stoppedAtMaxtime) + " cancelled " + std::to_string(result.cancelled);
    if (result.error)
        r.end += " error " + std::to_string(static_cast<int>(result.error->kind)) + "/"
            + std::to_string(static_cast<int>(result.error->cause)) + " line " + std::to_string(result.error->line)
            + " [" + result.error->detail + "]";
    for (const tolvane::SkippedEntry& skipped : result.skipped)
        r.end += " skipped " + std::to_string(skipped.line) + " "
            + std::to_string(static_cast<int>(skipped.error.cause)) + " [" + skipped.error.detail + "]";
    for (const tolvane::UnreadableText& u : result.unreadable)
        r.end += " unreadable " + std::to_string(u.play) + " line " + std::to_string(u.line);
    return r;
}

void expectSame(const Reading& serial, const Reading& parallel)
{
    EXPECT_EQ(serial.end, parallel.end);
    ASSERT_EQ(serial.calls.size(), parallel.calls.size());
    for (std::size_t i = 0; i < serial.calls.size(); ++i)
        ASSERT_EQ(serial.calls[i], parallel.calls[i]) << "call " << i;
}

// A generated log damaged in every way a log can be and still be read on:
// entries cut short (the next marker is then read as one of their lines),
// marker lines and marker-like lines inside entries and between them, other
// line ends, non-ASCII junk; and, when fatal, one damage that ends the reading.
std::string damagedLog(std::uint64_t seed, bool fatal)
{
    tolvane::testing::GeneratorOptions options;
    options.seed = seed;
    options.plays = 1500;
    options.meanGapMinutes = 240;
    options.junkRate = 0.05;
    options.lineEnd = static_cast<tolvane::testing::LineEnd>(seed % 3);
    options.utf8WithBom = seed % 4 == 1;
    const std::string bytes = tolvane::testing::generateLog(options).bytes;
    const std::string lineEnd = seed % 3 == 0 ? "\r\n" : seed % 3 == 1 ? "\n" : "\r";

    std::vector<std::string> lines;
    for (std::size_t at = 0; at <= bytes.size();) {
        const std::size_t end = std::min(bytes.find(lineEnd, at), bytes.size());
        lines.push_back(bytes.substr(at, end - at));
        at = end + lineEnd.size();
    }
    std::string marker;
    for (const std::string& line : lines) {
        if (line.starts_with("[Start of Score] : ")) {
            marker = line;
            break;
        }
    }

    std::mt19937_64 random(seed);
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    std::vector<std::string> out;
    std::size_t sinceMarker = 99;
    // An entry after a damaged one stays whole, so the damage does not add up
    // to a fatal one.
    bool damaged = false;
    bool damagedBefore = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == marker) {
            sinceMarker = 0;
            damagedBefore = damaged;
            damaged = false;
        } else {
            ++sinceMarker;
        }
        if (sinceMarker == 0 && chance(5))
            out.push_back(chance(50) ? "[Start of Score] : not a marker" : "[Start of Score] : \x82\xa0");
        if (sinceMarker == 0 && chance(3))
            out.push_back("\x93\xfa\x96{ Date:2001/01/01 [Start of Score] : ");
        if (!damaged && !damagedBefore && sinceMarker == 2 && chance(3)) {
            damaged = true;
            i += random() % 6; // an entry cut short after its date
            continue;
        }
        if (!damaged && !damagedBefore && sinceMarker >= 2 && sinceMarker <= 8 && chance(1)) {
            damaged = true;
            out.push_back(marker); // a marker inside an entry
        }
        out.push_back(lines[i]);
    }
    if (fatal) {
        const std::vector<std::string> damage = {"Date:2001/13/45 10:00:00", "Da", "Date:2001/01/01 25:99",
            "Total Notes         :300   Score 99999999999", "BPM:1E999", std::string((1 << 20) + 5, 'x')};
        std::size_t at = out.size() / 2 + random() % (out.size() / 2);
        while (at > 0 && out[at - 1] != marker)
            --at;
        const std::size_t kind = random() % damage.size();
        const std::size_t offset = kind == 3 ? 6 : kind == 4 ? 3 : kind == 5 ? 2 : 0;
        out[at + offset] = damage[kind];
    }
    std::string log;
    for (std::size_t i = 0; i < out.size(); ++i) {
        log += out[i];
        // Now and then another line end, as a hand-edited log has.
        if (i + 1 < out.size())
            log += chance(1) ? std::string(chance(50) ? "\n" : "\r") : lineEnd;
    }
    if (fatal && seed % 2 == 0)
        log.resize(log.size() - 40); // and the last entry ends too soon
    return log;
}

} // namespace

// Reading in parts on several threads must hand on exactly what one pass
// does: every date, every play and its number, and the same end, error and
// line, wherever the parts begin and however damaged the log is.
TEST(ParallelLogRead, HandsOnWhatOnePassDoesOnDamagedLogs)
{
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        const bool fatal = seed % 3 != 0;
        const std::string log = damagedLog(seed, fatal);
        bool failed = false;
        for (const bool skip : {false, true}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + (skip ? ", skipping damage" : ""));
            const Reading serial = readWith(log, {}, {}, LogReadOptions{1, 0, skip});
            if (!fatal || skip) {
                EXPECT_EQ(serial.end.find("error"), std::string::npos) << serial.end;
            }
            // What failed the reading is skipped when asked.
            failed = failed || serial.end.find("error") != std::string::npos;
            EXPECT_EQ(skip && failed, serial.end.find("skipped") != std::string::npos) << serial.end;
            for (const auto& [threads, partBytes] : {std::pair{2, 512}, std::pair{3, 4096}, std::pair{5, 70000}}) {
                SCOPED_TRACE(std::to_string(threads) + " threads, parts of " + std::to_string(partBytes));
                expectSame(serial,
                    readWith(log, {}, {}, LogReadOptions{threads, static_cast<std::uint64_t>(partBytes), skip}));
            }
        }
    }
}

// The span's end stops the reading at the first play past it, the filters
// drop plays, and the parts come from a file as well as from memory.
TEST(ParallelLogRead, FiltersAndFilesGiveWhatOnePassDoes)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = 1500;
    options.meanGapMinutes = 240;
    options.autoplayRate = 0.2;
    const std::string log = tolvane::testing::generateLog(options).bytes;
    tolvane::testing::TempDir dir;
    const std::filesystem::path file = dir.file("score.txt");
    std::ofstream(file, std::ios::binary) << log;

    Filter filter;
    filter.SpanFilter = true;
    filter.Mintime = 37300; // 2002/02/13
    filter.Maxtime = 37400; // 2002/05/24
    filter.IgnoreAutoplay = true;
    filter.optIgnoreAuto = 2;
    filter.ScoreFilter = true;
    filter.MinScore = 50000;
    for (const Filter& f : {Filter{}, filter}) {
        const Reading serial = readWith(log, {}, f, {});
        EXPECT_EQ(f.SpanFilter, serial.end.find("maxtime 1") != std::string::npos) << serial.end;
        expectSame(serial, readWith({}, file, f, LogReadOptions{2, 1000}));
        expectSame(serial, readWith(log, {}, f, LogReadOptions{4, 3000}));
    }
}

// The caller still sees the share read grow to the end and gets its yields, and
// a stop asked for in a yield ends the reading with the workers gone.
TEST(ParallelLogRead, ReportsProgressAndStopsWhenAsked)
{
    tolvane::testing::GeneratorOptions options;
    options.plays = 3000;
    const std::string log = tolvane::testing::generateLog(options).bytes;
    for (const int stopAt : {0, 3}) {
        std::vector<int> progress;
        int yields = 0;
        LogReaderCallbacks callbacks;
        callbacks.onProgress = [&](int percent) { progress.push_back(percent); };
        callbacks.onYield = [&] { return ++yields != stopAt; };
        const LogReadResult result
            = ScoreLogReader(Filter{}, callbacks, nullptr, LogReadOptions{2, 8192}).readBytes(log);
        if (stopAt == 0) {
            EXPECT_TRUE(result.ok());
            EXPECT_EQ(result.accepted, 3000);
            ASSERT_FALSE(progress.empty());
            EXPECT_LE(progress.size(), 11U);
            EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
            EXPECT_GE(progress.back(), 90); // as one pass: the share is of 128-byte steps
            EXPECT_GE(yields, 3000 / ScoreLogReader::kYieldEvery);
        } else {
            EXPECT_TRUE(result.cancelled);
            EXPECT_LT(result.accepted, 3000);
        }
    }
}
