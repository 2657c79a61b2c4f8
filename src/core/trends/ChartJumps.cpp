#include "core/trends/ChartJumps.h"

namespace tolvane {

std::optional<ChartPlace> barTarget(
    int level, CivilDate cursor, CivilDate earliest, std::size_t bar, std::size_t barCount)
{
    if (bar >= barCount)
        return std::nullopt;
    const auto n = static_cast<int>(bar);
    switch (level) {
    case 1: { // months from the first entry's month on
        const int index = earliest.year * 12 + earliest.month - 1 + n;
        return ChartPlace{3, {index / 12, index % 12 + 1, 1}};
    }
    case 2: return ChartPlace{3, {cursor.year, n + 1, 1}}; // the cursor's year's months
    case 3: return ChartPlace{5, {cursor.year, cursor.month, n + 1}}; // the cursor's month's days
    case 4: // the week from the cursor's Sunday
        return ChartPlace{5, civilDate(serialDay(cursor.year, cursor.month, cursor.day) + n)};
    default: return std::nullopt;
    }
}

std::optional<ChartPlace> edgeTarget(int level, CivilDate firstOrLast)
{
    if (level < 2 || level > 5)
        return std::nullopt;
    return ChartPlace{level, firstOrLast};
}

} // namespace tolvane
