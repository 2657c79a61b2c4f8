#pragma once

#include "core/calendar/CalendarCounts.h"
#include "core/trends/ChartDate.h"
#include "core/trends/ChartRows.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

// One drawing of the period chart ("総合"): its rows and the period captions
// Label6(0) (from) and Label6(1) (to).
struct PeriodDrawing final {
    int level = 0;
    ChartRows rows;
    std::string from;
    std::string to;
};

// Draws the period chart at level 1 (months of years F..L), 2 (the cursor's
// year), 3 (the cursor's month, nextMonthYear/nextMonth giving its length),
// 4 (the cursor's week; the cursor first moves to its Sunday) or 5 (the
// cursor's day by hour, which also puts the day in dayCaption; levels 1 to 4
// set it back to "まで"). A period without plays
// shows "0". Any other level draws nothing: nullopt, nothing changed.
// Level 1 throws std::out_of_range when F or L has no plays; a range that
// runs backwards (F after L) gives no rows.
std::optional<PeriodDrawing> drawPeriodChart(int level, int F, int L, const CalendarCounts& tree, ChartDate& cursor,
    std::int16_t nextMonthYear, std::int16_t nextMonth, std::string& dayCaption);

} // namespace tolvane
