#include "core/insights/PlayRows.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace tolvane {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

RowList allRows(const PlayList& plays)
{
    RowList rows(plays.size());
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    return rows;
}

std::int64_t TimedRow::day() const noexcept
{
    return floorDiv(seconds, kSecondsPerDay);
}

std::vector<TimedRow> inDateOrder(const PlayList& plays, const RowList& rows)
{
    std::vector<TimedRow> timed;
    timed.reserve(rows.size());
    for (std::size_t row : rows)
        timed.push_back({totalSeconds(plays.row(row).date), row});
    // Most logs are written in time order: check before sorting.
    const auto earlier = [](const TimedRow& a, const TimedRow& b) { return a.seconds < b.seconds; };
    if (!std::is_sorted(timed.begin(), timed.end(), earlier))
        std::stable_sort(timed.begin(), timed.end(), earlier);
    return timed;
}

RowList rowsOnDay(const PlayList& plays, const RowList& rows, std::int64_t day)
{
    RowList out;
    for (std::size_t row : rows) {
        if (floorDiv(totalSeconds(plays.row(row).date), kSecondsPerDay) == day)
            out.push_back(row);
    }
    return out;
}

std::string isoDateTime(std::int64_t seconds)
{
    const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
    const std::int64_t s = seconds - day * kSecondsPerDay;
    const CivilDate d = civilDate(day);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", d.year, d.month, d.day, static_cast<int>(s / 3600),
        static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return buf;
}

std::string isoDateTime(DateValue value)
{
    return isoDateTime(totalSeconds(value));
}

std::string isoDay(std::int64_t day)
{
    const CivilDate d = civilDate(day);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

} // namespace tolvane
