#include "core/analysis/AnalysisRun.h"

#include "core/analysis/Analysis.h"
#include "core/analysis/RunTexts.h"
#include "core/analysis/SpanText.h"
#include "core/log/LineReader.h"
#include "core/log/ScoreLogReader.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tolvane {

AnalysisRun::AnalysisRun(
    Analysis& analysis, const Filter& filter, const GraphSettings& graph, RunCallbacks callbacks, bool skipDamaged)
    : analysis_(analysis)
    , filter_(filter)
    , graph_(graph)
    , callbacks_(std::move(callbacks))
    , skipDamaged_(skipDamaged)
{
}

void AnalysisRun::status(const std::string& text)
{
    if (callbacks_.onStatus)
        callbacks_.onStatus(text);
}

void AnalysisRun::caption(const std::string& text, bool onlyWhenMinimised)
{
    if (callbacks_.onCaption)
        callbacks_.onCaption(text, onlyWhenMinimised);
}

RunOutcome AnalysisRun::run(const std::filesystem::path& file)
{
    try {
        LineReader lines = LineReader::openFile(file);
        return run(lines);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

RunOutcome AnalysisRun::runBytes(std::string_view bytes)
{
    try {
        LineReader lines = LineReader::inMemory(bytes);
        return run(lines);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

void AnalysisRun::clearResults()
{
    analysis_.plays.clear();
    analysis_.rankings.clear();
    analysis_.calendar.clear();
    analysis_.counts.clear();
    analysis_.entryDates.release(); // gives the memory back
}

namespace {

RunOutcome failed(RunOutcome outcome, AnalysisFailure failure)
{
    outcome.state = RunOutcome::State::Failed;
    outcome.message = RunTexts::failure(failure);
    outcome.failure = std::move(failure);
    return outcome;
}

} // namespace

RunOutcome AnalysisRun::outOfMemory()
{
    clearResults();
    AnalysisFailure f;
    f.kind = AnalysisFailure::Kind::Open;
    f.cause = AnalysisFailure::Cause::OutOfMemory;
    return failed(RunOutcome{}, std::move(f));
}

RunOutcome AnalysisRun::run(LineReader& lines)
{
    RunOutcome outcome;
    Analysis& a = analysis_;

    // Clear the last run's results.
    clearResults();

    if (!lines.isOpen()) {
        AnalysisFailure f;
        f.kind = AnalysisFailure::Kind::Open;
        f.cause = AnalysisFailure::Cause::CannotOpen;
        f.detail = lines.error();
        return failed(std::move(outcome), std::move(f));
    }
    outcome.sizeBytes = lines.size();
    status(RunTexts::readingStatus(0));

    // Read: every entry counts for the charts, every accepted play becomes a row.
    DateValue earliest = 0;
    DateValue latest = 0;
    LogReaderCallbacks reading;
    reading.onPlayDate = [&](const PlayDate& d) {
        a.counts.count(d, a.calendar, a.navigation.cursor);
        a.entryDates.push_back(d);
    };
    reading.onPlay = [&](PlayRecord&& play) {
        if (a.plays.empty() || play.date < earliest)
            earliest = play.date;
        if (a.plays.empty() || play.date > latest)
            latest = play.date;
        a.plays.append(std::move(play));
    };
    reading.onProgress = [&](int percent) {
        status(RunTexts::readingStatus(percent));
        caption(RunTexts::readingCaption(percent), true);
    };
    reading.onYield = callbacks_.onYield;
    // A large log is read on every core the process may use.
    LogReadOptions options;
    options.threads = 0;
    options.skipDamaged = skipDamaged_;
    LogReadResult read = ScoreLogReader(filter_, std::move(reading), a.plays.texts(), options).read(lines);
    outcome.entries = read.entries;
    outcome.accepted = read.accepted;
    outcome.endOffset = read.endOffset;
    outcome.endLine = read.endLine;
    outcome.stoppedAtMaxtime = read.stoppedAtMaxtime;
    outcome.skipped = std::move(read.skipped);
    for (SkippedEntry& skipped : outcome.skipped)
        skipped.message = RunTexts::failure(AnalysisFailure::fromReadError(skipped.error)).back();
    outcome.unreadable = std::move(read.unreadable);
    if (read.cancelled) {
        outcome.state = RunOutcome::State::Cancelled;
        return outcome;
    }
    if (read.error)
        return failed(std::move(outcome), AnalysisFailure::fromReadError(*read.error));
    if (a.plays.empty()) {
        AnalysisFailure f;
        f.kind = AnalysisFailure::Kind::NoPlays;
        f.cause = read.entries == 0 ? AnalysisFailure::Cause::NoEntries : AnalysisFailure::Cause::NoPlays;
        return failed(std::move(outcome), std::move(f));
    }
    outcome.history = historyText(earliest, latest);

    std::int64_t yieldCounter = read.yieldCounter;
    if (!rankPlays(yieldCounter, outcome))
        return outcome;

    // Draw: the period chart at level 1, the totals charts, then the bar
    // styles, taking input between the steps so a close is not kept waiting.
    status(std::string(RunTexts::kDrawingStatus));
    auto keepGoing = [&] {
        if (!callbacks_.onYield || callbacks_.onYield())
            return true;
        outcome.state = RunOutcome::State::Cancelled;
        return false;
    };
    if (!keepGoing())
        return outcome;
    a.periodChart = a.navigation.finishRun(a.counts);
    if (!keepGoing())
        return outcome;
    a.totals = fillTotalsCharts(a.counts);
    applyBarStyles(graph_, a.styles);

    status(std::string(RunTexts::kIdleStatus));
    caption(std::string(RunTexts::kTitle), false);
    a.navigation.analysisDone = true;
    outcome.state = RunOutcome::State::Completed;
    outcome.message = RunTexts::completion(outcome.sizeBytes, outcome.history);
    return outcome;
}

bool AnalysisRun::rankPlays(std::int64_t& yieldCounter, RunOutcome& outcome)
{
    Analysis& a = analysis_;
    status(RunTexts::rankingStartStatus());
    const std::size_t n = a.plays.size();
    std::size_t threshold = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const PlayRecord& p = a.plays.row(i);
        const auto play = rankedPlay(p);
        if (!play) {
            outcome = failed(std::move(outcome), AnalysisFailure::maxComboTooLarge(p.maxCombo));
            return false;
        }
        a.rankings.record(*play);

        ++yieldCounter;
        if (yieldCounter % kYieldEvery == 0 && callbacks_.onYield && !callbacks_.onYield()) {
            outcome.state = RunOutcome::State::Cancelled;
            return false;
        }
        const std::size_t percent = (i + 1) * 100 / n;
        if (percent >= threshold && threshold != 100) {
            status(RunTexts::rankingStatus(static_cast<int>(threshold)));
            caption(RunTexts::rankingCaption(static_cast<int>(threshold)), true);
            threshold += 10;
        }
    }
    return true;
}

} // namespace tolvane
