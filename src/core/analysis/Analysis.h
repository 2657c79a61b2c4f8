#pragma once

#include "core/analysis/PlayList.h"
#include "core/calendar/CalendarCounts.h"
#include "core/insights/PlayRows.h"
#include "core/insights/ViewPeriod.h"
#include "core/log/LargeBlock.h"
#include "core/log/PlayRecord.h"
#include "core/rankings/RankingTables.h"
#include "core/trends/ChartNavigation.h"
#include "core/trends/ChartStyle.h"
#include "core/trends/PeriodChart.h"
#include "core/trends/TotalsCharts.h"
#include "core/trends/TrendCounts.h"

#include <array>
#include <vector>

namespace tolvane {

// Everything a history of plays holds: the data list and every entry's date,
// whole, and the figures of its view span built from them (see FoldStep):
// the rows in the span, the ranking tables, the calendar of plays, the chart
// counts and drawings, and the period chart's navigation.
class Analysis final {
public:
    Analysis() = default;
    Analysis(const Analysis&) = delete;
    Analysis& operator=(const Analysis&) = delete;

    // Takes over everything fresh holds; fresh is left with what this held.
    void replaceWith(Analysis& fresh) noexcept;

    PlayList plays;
    // The span the figures below are of, the rows of the data list in it, in
    // history order, and whether a play past its end has closed it.
    ViewSpan span;
    RowList rows;
    bool rowsEnded = false;
    RankingTables rankings;
    CalendarCounts calendar;
    TrendCounts counts;
    ChartNavigation navigation{calendar};
    // Every entry's date in file order, accepted or not, as the charts counted
    // them, so a view period can count them again without reading the log.
    BlockList<PlayDate> entryDates;

    // Chart 1 as last drawn, and charts 2..6 as the last run filled them.
    PeriodDrawing periodChart;
    TotalsCharts totals = designedTotalsCharts();
    // The bar style of each chart as last applied.
    BarStyles styles{};
};

} // namespace tolvane
