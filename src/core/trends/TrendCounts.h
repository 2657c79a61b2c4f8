#pragma once

#include "core/calendar/CalendarCounts.h"
#include "core/log/DateValue.h"
#include "core/log/PlayRecord.h"
#include "core/trends/ChartDate.h"

#include <array>
#include <cstdint>
#include <map>

namespace tolvane {

// What one analysis run counts for the charts, from the date of every entry
// read, before any load filter. A total that no play touched is 0 here; the
// totals charts show it as "no value" (hours excepted), since a touched
// element is never below 1.
class TrendCounts final {
public:
    // Starts a run: first-play values unset, totals and the date span empty.
    // The Play values keep the last entry seen, as nothing reads them before
    // the next entry sets them.
    void clear() noexcept;

    // Counts one entry: sets the Play values, on the run's first entry the
    // FirstPlay values and the chart cursor, adds to the totals and records
    // the play in the tree. Throws std::out_of_range, changing nothing, for a
    // part out of range (year 1..9999, month 1..12, day 1..31, weekday 1..7,
    // hour 0..23).
    void count(const PlayDate& date, CalendarCounts& tree, ChartDate& chartCursor);

    bool hasFirstPlay() const noexcept { return firstYear_ != 0; }
    std::int32_t entries() const noexcept { return entries_; }

    int PlayYear() const noexcept { return play_.year; }
    int PlayMonth() const noexcept { return play_.month; }
    int PlayDay() const noexcept { return play_.day; }
    int PlayWeekday() const noexcept { return play_.weekday; }
    int PlayHour() const noexcept { return play_.hour; }

    // 0 while unset.
    int FirstPlayYear() const noexcept { return firstYear_; }
    int FirstPlayMonth() const noexcept { return firstMonth_; }
    int FirstPlayDay() const noexcept { return firstDay_; }
    int FirstPlayWeekday() const noexcept { return firstWeekday_; }

    // Earliest and latest entry dates of the run (a log need not be in time
    // order); all zero before the first entry.
    CivilDate earliest() const noexcept { return earliest_; }
    CivilDate latest() const noexcept { return latest_; }

    // Plays per year, month 1..12, day 1..31, weekday 1..7 and hour 0..23;
    // 0 for none or an index out of range.
    std::int32_t yearTotal(int year) const noexcept;
    std::int32_t monthTotal(int month) const noexcept;
    std::int32_t dayTotal(int day) const noexcept;
    std::int32_t weekdayTotal(int weekday) const noexcept;
    std::int32_t hourTotal(int hour) const noexcept;

private:
    struct Parts final {
        int year = 0;
        int month = 0;
        int day = 0;
        int weekday = 0;
        int hour = 0;
    };

    Parts play_;
    int firstYear_ = 0;
    int firstMonth_ = 0;
    int firstDay_ = 0;
    int firstWeekday_ = 0;
    CivilDate earliest_;
    CivilDate latest_;
    std::int32_t entries_ = 0;
    std::map<int, std::int32_t> years_;
    std::array<std::int32_t, 13> months_{};
    std::array<std::int32_t, 32> days_{};
    std::array<std::int32_t, 8> weekdays_{};
    std::array<std::int32_t, 24> hours_{};
};

} // namespace tolvane
