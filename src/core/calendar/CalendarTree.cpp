#include "core/calendar/CalendarTree.h"

#include <stdexcept>
#include <string>

namespace tolvane {

void CalendarTree::record(int year, int month, int day, int hour)
{
    // Check every level first so that a bad play does not count at the upper
    // levels only and break the sums.
    if (!CYears::inRange(year) || !CMonths::inRange(month) || !ClDates::inRange(day) || !CTimes::inRange(hour)) {
        throw std::out_of_range("calendar: no such time " + std::to_string(year) + '-' + std::to_string(month) + '-'
            + std::to_string(day) + ' ' + std::to_string(hour) + 'h');
    }
    years.Add(year);
    CYear& y = *years.find(year);
    y.CMonths.Add(month, y);
    CMonth& m = *y.CMonths.find(month);
    m.ClDates.Add(day, year, month);
    m.ClDates.find(day)->CTimes.Add(hour);
}

std::int32_t CalendarTree::count(int year, int month, int day, int hour) const noexcept
{
    const CYear* y = years.find(year);
    if (!y || month == 0)
        return y ? y->Counter : 0;
    const CMonth* m = y->CMonths.find(month);
    if (!m || day == 0)
        return m ? m->Counter : 0;
    const ClDate* d = m->ClDates.find(day);
    if (!d || hour < 0)
        return d ? d->Counter : 0;
    const CTime* t = d->CTimes.find(hour);
    return t ? t->Counter : 0;
}

} // namespace tolvane
