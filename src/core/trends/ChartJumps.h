#pragma once

#include "core/log/DateValue.h"

#include <cstddef>
#include <optional>

namespace tolvane {

// Where the period chart goes: a level 1..5 and a date for its cursor, as
// ChartNavigation::drawAt takes them.
struct ChartPlace final {
    int level = 0;
    CivilDate date;
    friend bool operator==(const ChartPlace&, const ChartPlace&) = default;
};

// The period a bar stands for, shown one step closer: a month's bar (levels 1
// and 2) opens that month's days, a day's bar (levels 3 and 4) that day's
// hours. An hour's bar (level 5) and a bar past the drawing's end go nowhere.
// cursor is the chart's cursor as drawn; earliest the first entry's date,
// where level 1's first bar stands.
std::optional<ChartPlace> barTarget(
    int level, CivilDate cursor, CivilDate earliest, std::size_t bar, std::size_t barCount);

// Home and End: the period holding the first (or last) entry, at the same
// level. Level 1 already shows everything: nowhere to go.
std::optional<ChartPlace> edgeTarget(int level, CivilDate firstOrLast);

} // namespace tolvane
