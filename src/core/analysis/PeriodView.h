#pragma once

#include "core/analysis/PlayList.h"
#include "core/insights/PlayCalendar.h"
#include "core/insights/PlayRows.h"
#include "core/insights/Sessions.h"
#include "core/insights/ViewPeriod.h"

#include <vector>

namespace tolvane {

// The view period's presets, as the window offers them.
enum class PeriodPreset { All, ThisYear, Last12Months, Last30Days, Custom };

// The span a preset stands for. The relative presets count back from the day
// of the last play (anchorDay, a date at midnight), so an old log opens on its
// own last year rather than on an empty one; "this year" is that day's year.
// Custom takes from and to as given (dates; to includes its whole day).
ViewSpan presetSpan(PeriodPreset preset, DateValue anchorDay, DateValue from = 0, DateValue to = 0);

// The date of the latest play, at midnight; 0 for no plays.
DateValue lastPlayDay(const PlayList& plays);

// What the heatmap and the sessions page show for a set of rows.
struct HabitFigures final {
    std::vector<TimedRow> timeline; // the rows in date order
    PlayCalendar calendar;
    std::vector<PlaySession> sessions;
    PlayStreaks streaks; // meaningless when there are no rows
};

HabitFigures buildHabitFigures(const PlayList& plays, const RowList& rows, int gapMinutes);

} // namespace tolvane
