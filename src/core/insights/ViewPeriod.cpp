#include "core/insights/ViewPeriod.h"

#include <cmath>

namespace tolvane {

namespace {

// The play's day at midnight, as the reader compares it with the span.
DateValue dayOf(DateValue value)
{
    return std::floor(static_cast<double>(totalSeconds(value)) / kSecondsPerDay);
}

} // namespace

RowList rowsInSpan(const PlayList& plays, ViewSpan span)
{
    RowList rows;
    for (std::size_t r = 0; r < plays.size(); ++r) {
        const DateValue day = dayOf(plays.row(r).date);
        if (span.from != 0.0 && day < span.from)
            continue;
        if (span.to != 0.0 && day > span.to)
            break;
        rows.push_back(r);
    }
    return rows;
}

bool rankRows(const PlayList& plays, const RowList& rows, RankingTables& tables)
{
    tables.clear();
    for (std::size_t row : rows) {
        const PlayRecord& p = plays.row(row);
        const auto play = rankedPlay(p);
        if (!play)
            return false;
        tables.record(*play);
    }
    return true;
}

void countEntries(
    const BlockList<PlayDate>& entries, ViewSpan span, TrendCounts& counts, CalendarCounts& tree, ChartDate& chartCursor)
{
    counts.clear();
    tree.clear();
    chartCursor = ChartDate{};
    for (const PlayDate& entry : entries) {
        counts.count(entry, tree, chartCursor);
        if (span.to != 0.0 && entry.date > span.to)
            break;
    }
}

} // namespace tolvane
