#include "core/insights/PlayCalendar.h"

#include <algorithm>

namespace tolvane {

PlayCalendar buildPlayCalendar(const std::vector<TimedRow>& timeline)
{
    PlayCalendar calendar;
    for (const TimedRow& t : timeline) {
        const std::int64_t day = t.day();
        if (calendar.days.empty() || calendar.days.back().day != day)
            calendar.days.push_back({day, 0});
        ++calendar.days.back().plays;
    }
    if (calendar.days.empty())
        return calendar;
    const int firstYear = civilDate(calendar.days.front().day).year;
    const int lastYear = civilDate(calendar.days.back().day).year;
    calendar.years.resize(static_cast<std::size_t>(lastYear - firstYear + 1));
    for (int y = firstYear; y <= lastYear; ++y)
        calendar.years[static_cast<std::size_t>(y - firstYear)].year = y;
    for (const DayPlays& d : calendar.days)
        calendar.years[static_cast<std::size_t>(civilDate(d.day).year - firstYear)].plays += d.plays;
    return calendar;
}

std::int32_t PlayCalendar::playsOn(std::int64_t day) const noexcept
{
    const auto it = std::lower_bound(
        days.begin(), days.end(), day, [](const DayPlays& d, std::int64_t value) { return d.day < value; });
    return it != days.end() && it->day == day ? it->plays : 0;
}

std::vector<DayPlays> PlayCalendar::daysOfYear(int year) const
{
    const std::int64_t first = serialDay(year, 1, 1);
    const std::int64_t end = serialDay(year + 1, 1, 1);
    const auto from = std::lower_bound(
        days.begin(), days.end(), first, [](const DayPlays& d, std::int64_t value) { return d.day < value; });
    const auto to
        = std::lower_bound(from, days.end(), end, [](const DayPlays& d, std::int64_t value) { return d.day < value; });
    return {from, to};
}

} // namespace tolvane
