#pragma once

#include "core/insights/PlayRows.h"

#include <cstdint>
#include <vector>

namespace tolvane {

struct DayPlays final {
    std::int64_t day = 0; // serial day (1899-12-30 is 0)
    std::int32_t plays = 0;
};

struct YearPlays final {
    int year = 0;
    std::int32_t plays = 0;
};

// Plays per calendar day of the log's own date-times.
struct PlayCalendar final {
    std::vector<DayPlays> days; // only days with plays, in date order
    std::vector<YearPlays> years; // first year to last, empty years included

    // Plays on a serial day; 0 for a day without plays.
    std::int32_t playsOn(std::int64_t day) const noexcept;
    // The days of one year with plays (a heatmap's cells), in date order.
    std::vector<DayPlays> daysOfYear(int year) const;
};

// timeline: the rows in date order, as inDateOrder gives them.
PlayCalendar buildPlayCalendar(const std::vector<TimedRow>& timeline);

} // namespace tolvane
