#pragma once

#include "core/analysis/PlayList.h"
#include "core/calendar/CalendarCounts.h"
#include "core/rankings/RankingTables.h"
#include "core/trends/ChartNavigation.h"
#include "core/trends/ChartStyle.h"
#include "core/trends/PeriodChart.h"
#include "core/trends/TotalsCharts.h"
#include "core/trends/TrendCounts.h"
#include "core/log/LargeBlock.h"
#include "core/log/PlayRecord.h"

#include <array>
#include <vector>

namespace tolvane {

// Everything an Open command builds and the views read: the data list, the
// ranking tables, the calendar of plays, the chart counts and drawings, and
// the period chart's navigation. It lives as long as the main window.
class Analysis final {
public:
    Analysis() = default;
    Analysis(const Analysis&) = delete;
    Analysis& operator=(const Analysis&) = delete;

    PlayList plays;
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
