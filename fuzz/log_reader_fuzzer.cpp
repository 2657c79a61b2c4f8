// Feeds arbitrary bytes to the log reader and to a whole analysis run, under
// every combination of the load filters. The first kHeader bytes choose the
// filters, the chart styles and where the run is cancelled; the rest is the
// log. Besides crashes and sanitizer reports, it checks what must hold for any
// input: the counts agree, every accepted play passed the filters, and the
// reader and the analysis run see the same log the same way. After a
// completed run the period chart's buttons are pressed in some order.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/log/DateValue.h"
#include "core/log/ScoreLogReader.h"
#include "core/trends/ChartStyle.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace tolvane;

namespace {

constexpr std::size_t kHeader = 6;

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A side as a hand-edited filter may hold it: mostly 1P, 2P or 1P+2P, now and
// then none of them.
std::int16_t sideOf(unsigned bits)
{
    return static_cast<std::int16_t>(static_cast<int>(bits % 5) - 1); // -1..3
}

// Span bounds: none, a day inside a generated log, a later one, one with a time
// of day, and one far in the past.
DateValue boundOf(unsigned choice, bool upper)
{
    switch (choice) {
    case 0: return 0;
    case 1: return upper ? makeDate(2001, 11, 25) : makeDate(2001, 11, 22);
    case 2: return upper ? makeDate(2002, 3, 1, 18, 30) : makeDate(2001, 12, 24, 6);
    default: return upper ? makeDate(1999, 1, 1) : makeDate(2030, 1, 1);
    }
}

struct Choices {
    Filter filter;
    GraphSettings graph;
    int cancelAtYield = 0; // 0: never
    std::uint32_t buttons = 0; // picks the chart buttons pressed after the run
};

Choices choose(const std::uint8_t* h)
{
    Choices c;
    c.filter.IgnoreAutoplay = (h[0] & 0x01) != 0;
    c.filter.IgnoreScrach = (h[0] & 0x02) != 0;
    c.filter.ScoreFilter = (h[0] & 0x04) != 0;
    c.filter.SpanFilter = (h[0] & 0x08) != 0;
    c.filter.Mintime = boundOf((h[0] >> 4) & 0x03, false);
    c.filter.Maxtime = boundOf((h[0] >> 6) & 0x03, true);
    c.filter.optIgnoreAuto = sideOf(h[1] & 0x0F);
    c.filter.optIgnoreScr = sideOf(h[1] >> 4);
    c.filter.MinScore = static_cast<std::int16_t>(h[2] | h[3] << 8) * 8;
    for (std::size_t i = 0; i < c.graph.Pattern.size(); ++i) {
        c.graph.Pattern[i] = static_cast<std::int16_t>((h[4] + i) % 19) - 1; // -1..17, as read from the settings
        c.graph.Color[i] = h[4] * 65793.0 + static_cast<double>(i) / 3;
        c.graph.PatternColor[i] = h[4] * -257;
    }
    c.cancelAtYield = h[5] & 0x07;
    c.buttons = static_cast<std::uint32_t>(h[5] >> 3 | h[4] << 5);
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeader)
        return 0;
    const Choices c = choose(data);
    const std::string_view log(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    // The reader alone.
    std::int32_t plays = 0;
    std::int32_t dates = 0;
    int yields = 0;
    LogReaderCallbacks callbacks;
    callbacks.onPlayDate = [&](const PlayDate& d) {
        ++dates;
        check(d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12, "an entry's date is a real date");
        check(d.day >= 1 && d.day <= daysInMonth(d.year, d.month), "an entry's day fits its month");
        check(d.hour >= 0 && d.hour <= 23 && d.weekday >= 1 && d.weekday <= 7, "an entry's hour and weekday");
    };
    callbacks.onPlay = [&](PlayRecord&& p) {
        ++plays;
        check(p.no == plays, "plays are numbered 1, 2, 3, ...");
        check(std::isfinite(p.level) && std::isfinite(p.bpm) && std::isfinite(p.totalNotes) && std::isfinite(p.maxCombo)
                && std::isfinite(p.date),
            "an accepted play holds finite numbers");
        check(!p.title.empty() && !p.artist.empty() && !p.genre.empty(), "empty names are replaced");
        if (c.filter.ScoreFilter)
            check(p.score >= c.filter.MinScore, "a play below the minimum score is dropped");
        if (c.filter.SpanFilter && c.filter.Mintime != 0)
            check(std::floor(p.date) >= c.filter.Mintime, "a play before the span is dropped");
        if (c.filter.SpanFilter && c.filter.Maxtime != 0)
            check(std::floor(p.date) <= c.filter.Maxtime, "a play after the span is dropped");
    };
    // After a jump the next reports repeat the share until the ten steps catch up.
    int lastPercent = 0;
    int reports = 0;
    callbacks.onProgress = [&](int percent) {
        check(percent >= lastPercent && percent <= 100, "progress never goes back nor past 100");
        check(++reports <= 10, "at most ten progress reports");
        lastPercent = percent;
    };
    callbacks.onYield = [&] { return ++yields != c.cancelAtYield; };
    const LogReadResult read = ScoreLogReader(c.filter, callbacks).readBytes(log);
    check(read.accepted == plays, "every accepted play is handed on");
    check(read.accepted <= read.entries && read.entries <= dates + 1, "entries, dates and plays agree");
    check(read.sizeBytes == log.size(), "the size is the size of the bytes");
    check(!(read.cancelled && read.error), "a cancelled read has no error");
    if (read.error && read.error->kind == LogReadError::Kind::Format)
        check(read.error->line >= 1, "a layout error names its line");

    // The whole run on the same bytes.
    Analysis analysis;
    int runYields = 0;
    RunCallbacks runCallbacks;
    runCallbacks.onYield = [&] { return ++runYields != c.cancelAtYield; };
    const RunOutcome run = AnalysisRun(analysis, c.filter, c.graph, runCallbacks).runBytes(log);
    check(run.entries == read.entries && run.accepted == read.accepted, "the run reads as the reader does");
    // A run puts its results in place only when it completes.
    check(static_cast<std::int32_t>(analysis.plays.size())
            == (run.state == RunOutcome::State::Completed ? run.accepted : 0),
        "every accepted play of a completed run is a row, and a failed run leaves none");
    switch (run.state) {
    case RunOutcome::State::Completed: {
        check(!read.error && !read.cancelled && read.accepted > 0, "a completed run read the log without fault");
        check(analysis.counts.entries() == run.entries, "every entry read counts for the charts");
        std::int64_t songPlays = 0;
        for (const Rank& r : analysis.rankings.songs)
            songPlays += r.plays;
        check(songPlays == run.accepted, "the song ranking counts every play once");
        std::int64_t calendarPlays = 0;
        for (int year = analysis.counts.earliest().year; year <= analysis.counts.latest().year; ++year)
            calendarPlays += analysis.calendar.count(year);
        check(calendarPlays == run.entries, "the calendar holds every entry once");
        check(!run.message.empty() && !run.failure, "a completed run has its message");
        // The period chart's buttons, wherever the log's dates lie.
        std::uint32_t state = c.buttons;
        for (int press = 0; press < 8; ++press) {
            state = state * 1103515245u + 12345u;
            ChartNavigation& nav = analysis.navigation;
            switch ((state >> 16) % 4) {
            case 0: (void)nav.zoomIn(); break;
            case 1: (void)nav.zoomOut(); break;
            case 2: (void)nav.showEarlier(); break;
            default: (void)nav.showLater(); break;
            }
            check(nav.level >= 1 && nav.level <= 5, "the chart stays at a level of 1 to 5");
        }
        break;
    }
    case RunOutcome::State::Failed:
        check(run.failure.has_value() && !run.message.empty(), "a failed run says why");
        break;
    case RunOutcome::State::Cancelled: check(c.cancelAtYield != 0, "only the caller cancels"); break;
    }
    return 0;
}
