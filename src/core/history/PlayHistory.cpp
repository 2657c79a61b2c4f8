#include "core/history/PlayHistory.h"

#include "core/analysis/FoldStep.h"

#include <utility>

namespace tolvane {

namespace {

std::int64_t secondsOf(const PlayDate& d)
{
    return static_cast<std::int64_t>(d.date) * kSecondsPerDay + d.second;
}

// What the chart counts can take; the reader reports nothing else.
bool countable(const PlayDate& d)
{
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 && d.weekday >= 1
        && d.weekday <= 7 && d.hour >= 0 && d.hour <= 23;
}

AppendOutcome reload()
{
    AppendOutcome outcome;
    outcome.kind = AppendOutcome::Kind::Reload;
    return outcome;
}

} // namespace

RunOutcome PlayHistory::load(const std::vector<LogSource>& logs, const Filter& filter, const GraphSettings& graph,
    RunCallbacks callbacks, bool skipDamaged)
{
    RunOutcome outcome = AnalysisRun(analysis_, filter, graph, std::move(callbacks), skipDamaged).run(logs);
    if (outcome.state != RunOutcome::State::Completed)
        return outcome;
    logs_ = outcome.logs;
    duplicates_ = outcome.duplicates;
    lastSeconds_ = outcome.lastSeconds;
    lastKeys_ = outcome.lastKeys;
    return outcome;
}

AppendOutcome PlayHistory::append(std::size_t log, NewEntries&& added)
{
    AppendOutcome outcome;
    if (log >= logs_.size() || added.playOfEntry.size() != added.dates.size())
        return reload();
    for (const PlayRecord& p : added.plays) {
        if (!rankedPlay(p)) {
            outcome.kind = AppendOutcome::Kind::Failed;
            outcome.failure = AnalysisFailure::maxComboTooLarge(p.maxCombo);
            return outcome;
        }
    }
    for (const PlayDate& d : added.dates) {
        if (!countable(d))
            return reload();
    }

    // With several logs the history is in date order: new entries join it at
    // its end, or not at all; one at its latest time may be a copy of an
    // entry another log holds.
    const bool several = logs_.size() > 1;
    std::vector<bool> keep(added.dates.size(), true);
    if (several) {
        if (added.keys.size() != added.dates.size())
            return reload();
        std::int64_t latest = lastSeconds_;
        for (const PlayDate& d : added.dates) {
            if (secondsOf(d) < latest)
                return reload();
            latest = secondsOf(d);
        }
        for (std::size_t e = 0; e < added.dates.size(); ++e) {
            const std::int64_t at = secondsOf(added.dates[e]);
            if (at != lastSeconds_) {
                lastSeconds_ = at;
                lastKeys_.clear();
            }
            bool copy = false;
            for (const KeptEntry& kept : lastKeys_)
                copy = copy || (kept.key == added.keys[e] && kept.log != log);
            if (copy) {
                keep[e] = false;
                continue;
            }
            lastKeys_.push_back({added.keys[e], static_cast<std::uint16_t>(log)});
        }
    }

    FoldStep step(analysis_);
    LogOutcome& file = logs_[log];
    outcome.firstRow = analysis_.plays.size();
    for (std::size_t e = 0; e < added.dates.size(); ++e) {
        ++file.entries;
        if (!keep[e]) {
            ++file.duplicates;
            ++duplicates_;
            continue;
        }
        ++outcome.entries;
        analysis_.entryDates.push_back(added.dates[e]);
        step.entry(added.dates[e]);
        const std::int32_t play = added.playOfEntry[e];
        if (play < 0)
            continue;
        PlayRecord& record = added.plays[static_cast<std::size_t>(play)];
        record.no = static_cast<std::int32_t>(analysis_.plays.size()) + 1;
        record.file = static_cast<std::uint16_t>(log);
        analysis_.plays.append(std::move(record));
        step.play(analysis_.plays.size() - 1);
        ++file.accepted;
    }
    outcome.rows = analysis_.plays.size() - outcome.firstRow;
    if (outcome.entries > 0)
        step.draw();
    return outcome;
}

bool PlayHistory::narrow(ViewSpan span)
{
    FoldStep step(analysis_);
    step.restart(span);
    for (const PlayDate& date : analysis_.entryDates)
        step.entry(date);
    for (std::size_t row = 0; row < analysis_.plays.size(); ++row)
        step.play(row); // a loaded history holds no play the rankings cannot take
    return step.draw();
}

void PlayHistory::clear()
{
    Analysis nothing;
    analysis_.replaceWith(nothing);
    analysis_.styles = nothing.styles;
    logs_.clear();
    duplicates_ = 0;
    lastSeconds_ = 0;
    lastKeys_.clear();
}

void PlayHistory::restyle(const GraphSettings& graph)
{
    applyBarStyles(graph, analysis_.styles);
}

} // namespace tolvane
