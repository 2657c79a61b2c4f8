#pragma once

#include "core/analysis/PlayList.h"
#include "core/calendar/CalendarCounts.h"
#include "core/insights/PlayRows.h"
#include "core/log/DateValue.h"
#include "core/log/PlayRecord.h"
#include "core/rankings/RankingTables.h"
#include "core/trends/TrendCounts.h"
#include "core/trends/ChartDate.h"

#include <vector>

namespace tolvane {

// A second narrowing of an analysis to a span, made from the rows in memory
// without reading the log again. It reads the span exactly as the span load
// filter (and tolvane-report --from/--to) reads it, so both give the same
// plays: a play whose day is before from's date-time is left out, and the
// first play, in file order, whose day is after to's date ends the span.
// A zero bound is no bound.
struct ViewSpan final {
    DateValue from = 0;
    DateValue to = 0;

    bool isWhole() const noexcept { return from == 0 && to == 0; }
};

// The rows of plays the span keeps, in file order.
RowList rowsInSpan(const PlayList& plays, ViewSpan span);

// The ranking tables built from rows, exactly as an analysis builds them from
// the whole data list. False (tables left partly built) when a max combo does
// not fit 32 bits, which a completed analysis has already ruled out.
bool rankRows(const PlayList& plays, const RowList& rows, RankingTables& tables);

// The chart counts for the span from every entry's date in file order (the
// onPlayDate reports of the reader), counted as a reading with the span
// filter counts them: entries before from still count, and counting stops
// after the first entry whose day is after to. The counts, the tree and the
// cursor are cleared first.
void countEntries(
    const BlockList<PlayDate>& entries, ViewSpan span, TrendCounts& counts, CalendarCounts& tree, ChartDate& chartCursor);

} // namespace tolvane
