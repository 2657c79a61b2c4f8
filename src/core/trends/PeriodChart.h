#pragma once

#include "core/trends/ChartRows.h"
#include "core/trends/UsrDate.h"
#include "core/calendar/CalendarTree.h"

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
// year), 3 (the cursor's month, NextMonthYear/NextMonth giving its length),
// 4 (the cursor's week; the cursor first moves to its Sunday) or 5 (the
// cursor's day by hour, which also puts the day in Label2; levels 1 to 4
// set it back to "まで"). A period without plays
// shows "0". Any other level draws nothing: nullopt, nothing changed.
// Level 1 throws std::out_of_range when F or L has no plays; a range that
// runs backwards (F after L) gives no rows.
std::optional<PeriodDrawing> DrawPeriodChart(int level, int F, int L, const CalendarTree& tree, UsrDate& ChartCursor,
    std::int16_t NextMonthYear, std::int16_t NextMonth, std::string& Label2);

} // namespace tolvane
