#pragma once

#include "core/trends/ChartRows.h"
#include "core/trends/TrendCounts.h"

namespace tolvane {

// Charts 2..6: plays per year, month of the year, day of the month, weekday
// and hour of the day over the whole log.
struct TotalsCharts final {
    ChartRows year; // "年別"
    ChartRows month; // "月別"
    ChartRows day; // "日別"
    ChartRows weekday; // "曜日別"
    ChartRows hour; // "時間帯別"
};

// What the charts show before any analysis: the fixed labels without values
// (hours without values too) and no year rows.
TotalsCharts designedTotalsCharts();

// The charts at the end of a run. The year chart has one row per year from
// the earliest to the latest entry's year; a year, month, day or weekday
// without plays has no value, an hour without plays shows "0".
TotalsCharts fillTotalsCharts(const TrendCounts& counts);

} // namespace tolvane
