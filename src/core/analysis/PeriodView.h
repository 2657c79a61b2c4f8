#pragma once

#include "core/analysis/Analysis.h"
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

// The rankings and charts of an analysis narrowed to a span, built from the
// rows and entry dates in memory. The data list itself stays whole.
class PeriodView final {
public:
    PeriodView() = default;
    PeriodView(const PeriodView&) = delete;
    PeriodView& operator=(const PeriodView&) = delete;

    ViewSpan span;
    RowList rows; // the data-list rows in the span, file order
    RankingTables rankings;
    CalendarCounts calendar;
    TrendCounts counts;
    ChartNavigation navigation{calendar};
    PeriodDrawing periodChart;
    TotalsCharts totals = designedTotalsCharts();
};

// Fills view for the span, as tolvane-report --from/--to would build it from
// the log: the same rows, rankings and charts. False when the analysis holds
// no entry (nothing was read) or a row cannot be ranked; view is then cleared.
bool buildPeriodView(const Analysis& analysis, ViewSpan span, PeriodView& view);

// The same in place: the analysis's rankings, chart counts, navigation and
// charts are rebuilt for the span, from its plays and entry dates, which stay
// whole (a whole span gives back exactly what the run built). rows receives
// the data-list rows in the span. The period chart starts again at level 1.
bool narrowAnalysis(Analysis& analysis, ViewSpan span, RowList& rows);

// What the heatmap and the sessions page show for a set of rows.
struct HabitFigures final {
    std::vector<TimedRow> timeline; // the rows in date order
    PlayCalendar calendar;
    std::vector<PlaySession> sessions;
    PlayStreaks streaks; // meaningless when there are no rows
};

HabitFigures buildHabitFigures(const PlayList& plays, const RowList& rows, int gapMinutes);

} // namespace tolvane
