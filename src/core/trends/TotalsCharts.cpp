#include "core/trends/TotalsCharts.h"

#include <string>
#include <string_view>

namespace tolvane {

namespace {

constexpr std::string_view kMonthLabels[12]
    = {"１月", "２月", "３月", "４月", "５月", "６月", "７月", "８月", "９月", "１０月", "１１月", "１２月"};

ChartValue valueOrNone(std::int32_t total)
{
    return total == 0 ? ChartValue{} : ChartValue{total};
}

} // namespace

TotalsCharts designedTotalsCharts()
{
    TotalsCharts charts;
    for (std::string_view label : kMonthLabels)
        charts.month.push_back({std::string(label), {}});
    for (int day = 1; day <= 31; ++day)
        charts.day.push_back({std::to_string(day), {}});
    for (std::string_view name : kWeekdayNames)
        charts.weekday.push_back({std::string(name), {}});
    for (int hour = 0; hour <= 23; ++hour)
        charts.hour.push_back({std::to_string(hour), {}});
    return charts;
}

TotalsCharts fillTotalsCharts(const TrendCounts& counts)
{
    TotalsCharts charts = designedTotalsCharts();
    if (counts.entries() > 0) {
        for (int year = counts.earliest().year; year <= counts.latest().year; ++year)
            charts.year.push_back({std::to_string(year) + "年", valueOrNone(counts.yearTotal(year))});
    }
    for (int i = 1; i <= 12; ++i)
        charts.month[static_cast<std::size_t>(i - 1)].value = valueOrNone(counts.monthTotal(i));
    for (int i = 1; i <= 31; ++i)
        charts.day[static_cast<std::size_t>(i - 1)].value = valueOrNone(counts.dayTotal(i));
    for (int i = 1; i <= 7; ++i)
        charts.weekday[static_cast<std::size_t>(i - 1)].value = valueOrNone(counts.weekdayTotal(i));
    for (int hour = 0; hour <= 23; ++hour)
        charts.hour[static_cast<std::size_t>(hour)].value = counts.hourTotal(hour);
    return charts;
}

} // namespace tolvane
