#include "core/trends/TrendCounts.h"

#include <stdexcept>
#include <string>
#include <tuple>

namespace tolvane {

namespace {

template <std::size_t N> std::int32_t at(const std::array<std::int32_t, N>& totals, int index) noexcept
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? totals[static_cast<std::size_t>(index)] : 0;
}

} // namespace

void TrendCounts::clear() noexcept
{
    firstYear_ = firstMonth_ = firstDay_ = firstWeekday_ = 0;
    earliest_ = latest_ = CivilDate{};
    entries_ = 0;
    years_.clear();
    months_.fill(0);
    days_.fill(0);
    weekdays_.fill(0);
    hours_.fill(0);
}

void TrendCounts::count(const PlayDate& date, CalendarCounts& tree, ChartDate& chartCursor)
{
    // The tree checks the other parts; the weekday indexes our own array.
    if (date.weekday < 1 || date.weekday > 7)
        throw std::out_of_range("weekday " + std::to_string(date.weekday) + " out of range");
    // Record first: it throws before changing anything, so a bad date leaves
    // the totals and the tree in step.
    tree.record(date.year, date.month, date.day, date.hour);

    play_ = {date.year, date.month, date.day, date.weekday, date.hour};
    const CivilDate day{date.year, date.month, date.day};
    // The tree took the date, so it is a real one: real dates are in time
    // order when their year, month and day are.
    auto before = [](const CivilDate& a, const CivilDate& b) {
        return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
    };
    if (!hasFirstPlay()) {
        firstYear_ = date.year;
        firstMonth_ = date.month;
        firstDay_ = date.day;
        firstWeekday_ = date.weekday;
        chartCursor.year = static_cast<std::int16_t>(date.year);
        chartCursor.month = static_cast<std::int16_t>(date.month);
        chartCursor.weekday = static_cast<std::int16_t>(date.weekday);
        chartCursor.day = static_cast<std::int16_t>(date.day);
        earliest_ = latest_ = day;
    } else if (before(day, earliest_)) {
        earliest_ = day;
    } else if (before(latest_, day)) {
        latest_ = day;
    }

    ++entries_;
    ++years_[date.year];
    ++months_[static_cast<std::size_t>(date.month)];
    ++days_[static_cast<std::size_t>(date.day)];
    ++weekdays_[static_cast<std::size_t>(date.weekday)];
    ++hours_[static_cast<std::size_t>(date.hour)];
}

std::int32_t TrendCounts::yearTotal(int year) const noexcept
{
    const auto found = years_.find(year);
    return found == years_.end() ? 0 : found->second;
}

std::int32_t TrendCounts::monthTotal(int month) const noexcept
{
    return at(months_, month);
}

std::int32_t TrendCounts::dayTotal(int day) const noexcept
{
    return at(days_, day);
}

std::int32_t TrendCounts::weekdayTotal(int weekday) const noexcept
{
    return at(weekdays_, weekday);
}

std::int32_t TrendCounts::hourTotal(int hour) const noexcept
{
    return at(hours_, hour);
}

} // namespace tolvane
