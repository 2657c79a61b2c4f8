#include "core/calendar/CalendarCounts.h"

#include <stdexcept>
#include <string>

namespace tolvane {

void CalendarCounts::record(int year, int month, int day, int hour)
{
    // Check every level first so that a bad play does not count at the upper
    // levels only and break the sums.
    if (!CalendarYears::inRange(year) || !CalendarMonths::inRange(month) || !CalendarDays::inRange(day)
        || !CalendarHours::inRange(hour)) {
        throw std::out_of_range("calendar: no such time " + std::to_string(year) + '-' + std::to_string(month) + '-'
            + std::to_string(day) + ' ' + std::to_string(hour) + 'h');
    }
    years.add(year);
    CalendarYear& y = *years.find(year);
    y.months.add(month, y);
    CalendarMonth& m = *y.months.find(month);
    m.days.add(day, year, month);
    m.days.find(day)->hours.add(hour);
}

std::int32_t CalendarCounts::count(int year, int month, int day, int hour) const noexcept
{
    const CalendarYear* y = years.find(year);
    if (!y || month == 0)
        return y ? y->plays : 0;
    const CalendarMonth* m = y->months.find(month);
    if (!m || day == 0)
        return m ? m->plays : 0;
    const CalendarDay* d = m->days.find(day);
    if (!d || hour < 0)
        return d ? d->plays : 0;
    const CalendarHour* t = d->hours.find(hour);
    return t ? t->plays : 0;
}

} // namespace tolvane
