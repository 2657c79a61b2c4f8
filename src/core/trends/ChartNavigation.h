#pragma once

#include "core/trends/PeriodChart.h"
#include "core/trends/TrendCounts.h"
#include "core/trends/UsrDate.h"
#include "core/calendar/CalendarTree.h"
#include "core/log/DateValue.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

// The period chart's level and cursor and its four buttons: "+" (CommandUP),
// "-" (CommandDown), "←" (CommandL) and "→" (CommandR). A button that cannot
// act returns nullopt and changes nothing; otherwise it returns the drawing
// to show. The state is public because the analysis run and the window read
// and write it as is (the run puts ChartCursor on its first entry through
// TrendCounts::count).
class ChartNavigation final {
public:
    // The tree must outlive this object.
    explicit ChartNavigation(const CalendarTree& tree) noexcept
        : tree_(&tree)
    {
    }

    std::int16_t ChartLevel = 0; // 1..5 once a run has drawn the chart
    UsrDate ChartCursor;
    std::int16_t NextMonthYear = 0;
    std::int16_t NextMonth = 0;
    bool AnalysisDone = false; // the buttons do nothing while false
    std::string Label2 = "まで";

    // The drawing that ends an analysis run: takes the run's earliest and
    // latest entry dates as the bounds, draws the whole span at level 1 and
    // sets ChartLevel to 1. AnalysisDone is left to the caller, which sets it
    // once the run has completed. Throws std::out_of_range when the run
    // counted no entry.
    PeriodDrawing finishRun(const TrendCounts& counts);

    // Bounds of the stepping: the earliest and latest entry dates.
    void setBounds(CivilDate earliest, CivilDate latest) noexcept;
    CivilDate earliest() const noexcept { return earliest_; }
    CivilDate latest() const noexcept { return latest_; }

    std::optional<PeriodDrawing> CommandUP();
    std::optional<PeriodDrawing> CommandDown();
    std::optional<PeriodDrawing> CommandL();
    std::optional<PeriodDrawing> CommandR();

    // Shows level 1..5 with the cursor on date, as the buttons would: level 1
    // draws the whole span, level 3 takes date plus one month as the next
    // month, level 4 moves the cursor to its Sunday. Sets ChartLevel. Any
    // other level: nullopt, nothing changed.
    std::optional<PeriodDrawing> drawAt(int level, CivilDate date);

private:
    bool buttonsLive() const noexcept;
    std::optional<PeriodDrawing> draw();
    void setNextMonthFromCursor();

    const CalendarTree* tree_;
    CivilDate earliest_;
    CivilDate latest_;
};

} // namespace tolvane
