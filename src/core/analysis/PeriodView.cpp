#include "core/analysis/PeriodView.h"

#include <cmath>

namespace tolvane {

namespace {

// A from bound of exactly the zero date would read as "no bound"; a hair
// below it keeps 1899/12/30 and everything after, and nothing before.
DateValue fromBound(std::int64_t serial)
{
    return serial == 0 ? -1e-9 : static_cast<DateValue>(serial);
}

const std::int64_t kFirstDay = serialDay(1, 1, 1);

} // namespace

ViewSpan presetSpan(PeriodPreset preset, DateValue anchorDay, DateValue from, DateValue to)
{
    const auto anchor = static_cast<std::int64_t>(std::floor(anchorDay));
    const CivilDate a = civilDate(anchor);
    switch (preset) {
    case PeriodPreset::All: return {};
    case PeriodPreset::ThisYear: return {fromBound(serialDay(a.year, 1, 1)), 0};
    case PeriodPreset::Last12Months: {
        // From the day after the same date a year before (28 February for a
        // 29th with no leap year), so twelve whole months end on the anchor.
        if (a.year <= 1)
            return {fromBound(kFirstDay), 0};
        const int day = std::min(a.day, daysInMonth(a.year - 1, a.month));
        return {fromBound(serialDay(a.year - 1, a.month, day) + 1), 0};
    }
    case PeriodPreset::Last30Days: return {fromBound(std::max(anchor - 29, kFirstDay)), 0};
    case PeriodPreset::Custom: {
        ViewSpan span;
        if (from != 0)
            span.from = fromBound(static_cast<std::int64_t>(std::floor(from)));
        if (to != 0)
            span.to = std::floor(to);
        return span;
    }
    }
    return {};
}

DateValue lastPlayDay(const PlayList& plays)
{
    if (plays.empty())
        return 0;
    DateValue latest = plays.row(0).date;
    for (std::size_t r = 1; r < plays.size(); ++r)
        latest = std::max(latest, plays.row(r).date);
    return std::floor(static_cast<double>(totalSeconds(latest)) / kSecondsPerDay);
}

HabitFigures buildHabitFigures(const PlayList& plays, const RowList& rows, int gapMinutes)
{
    HabitFigures f;
    f.timeline = inDateOrder(plays, rows);
    f.calendar = buildPlayCalendar(f.timeline);
    f.sessions = buildSessions(plays, f.timeline, gapMinutes);
    if (!f.timeline.empty())
        f.streaks = buildStreaks(f.calendar, f.sessions);
    return f;
}

} // namespace tolvane
