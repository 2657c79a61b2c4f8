#include "core/analysis/FoldStep.h"

#include "core/analysis/Analysis.h"

#include <cmath>
#include <stdexcept>

namespace tolvane {

namespace {

// The play's day at midnight, as the reader compares it with the span.
DateValue dayOf(DateValue value)
{
    return std::floor(static_cast<double>(totalSeconds(value)) / kSecondsPerDay);
}

bool inSpan(DateValue day, ViewSpan span)
{
    return !(span.from != 0.0 && day < span.from) && !(span.to != 0.0 && day > span.to);
}

} // namespace

void FoldStep::restart(ViewSpan span)
{
    a_.span = span;
    a_.rows.clear();
    a_.rowsEnded = false;
    a_.rankings.clear();
    a_.counts.clear();
    a_.calendar.clear();
    a_.navigation.cursor = ChartDate{};
    a_.navigation.analysisDone = false;
    a_.periodChart = {};
    a_.totals = designedTotalsCharts();
}

bool FoldStep::entry(const PlayDate& date)
{
    if (!inSpan(date.date, a_.span))
        return true;
    try {
        a_.counts.count(date, a_.calendar, a_.navigation.cursor);
    } catch (const std::out_of_range&) {
        return false;
    }
    return true;
}

std::optional<AnalysisFailure> FoldStep::play(std::size_t row)
{
    const PlayRecord& p = a_.plays.row(row);
    if (a_.rowsEnded)
        return std::nullopt;
    const DateValue day = dayOf(p.date);
    if (a_.span.from != 0.0 && day < a_.span.from)
        return std::nullopt;
    if (a_.span.to != 0.0 && day > a_.span.to) {
        a_.rowsEnded = true;
        return std::nullopt;
    }
    const auto ranked = rankedPlay(p);
    if (!ranked)
        return AnalysisFailure::maxComboTooLarge(p.maxCombo);
    a_.rankings.record(*ranked);
    a_.rows.push_back(row);
    return std::nullopt;
}

bool FoldStep::draw()
{
    if (a_.counts.entries() == 0) {
        a_.navigation.analysisDone = false;
        a_.periodChart = {};
        a_.totals = designedTotalsCharts();
        return false;
    }
    a_.periodChart = a_.navigation.finishRun(a_.counts);
    a_.totals = fillTotalsCharts(a_.counts);
    a_.navigation.analysisDone = true;
    return true;
}

} // namespace tolvane
