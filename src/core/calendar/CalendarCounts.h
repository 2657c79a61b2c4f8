#pragma once

#include "core/calendar/CalendarNodes.h"

#include <cstdint>

namespace tolvane {

// Plays counted by year > month > day > hour.
class CalendarCounts final {
public:
    CalendarYears years;

    // Counts one play. Throws std::out_of_range, changing nothing, when a
    // part is out of range (day checked against 1..31 only).
    void record(int year, int month, int day, int hour);

    // Plays at that path: a year, a month of it, a day of that, an hour of
    // that. 0 when any node on the path is missing.
    std::int32_t count(int year, int month = 0, int day = 0, int hour = -1) const noexcept;

    void clear() noexcept { years.clear(); }
};

} // namespace tolvane
