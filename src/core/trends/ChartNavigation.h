#pragma once

#include "core/calendar/CalendarCounts.h"
#include "core/log/DateValue.h"
#include "core/trends/ChartDate.h"
#include "core/trends/PeriodChart.h"
#include "core/trends/TrendCounts.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

// Why one of the period chart's buttons cannot act; None when it can.
enum class ChartLimit {
    None,
    NotDrawn, // no completed analysis has drawn the chart
    Finest, // level 5, a day's hours: nothing finer to zoom into
    Coarsest, // level 1, the whole span: nothing coarser
    WholeSpan, // level 1 shows every year; there is no earlier or later one
    FirstPeriod, // the shown period holds the first play
    LastPeriod, // the shown period holds the last play
};

// What each of the four buttons would do now.
struct ChartLimits final {
    ChartLimit zoomIn = ChartLimit::NotDrawn;
    ChartLimit zoomOut = ChartLimit::NotDrawn;
    ChartLimit earlier = ChartLimit::NotDrawn;
    ChartLimit later = ChartLimit::NotDrawn;

    friend bool operator==(const ChartLimits&, const ChartLimits&) = default;
};

// The period chart's level and cursor and its four buttons: "+" (zoomIn),
// "-" (zoomOut), "←" (showEarlier) and "→" (showLater). A button that cannot
// act returns nullopt and changes nothing; otherwise it returns the drawing
// to show. The state is public because the analysis run and the window read
// and write it as is (the run puts cursor on its first entry through
// TrendCounts::count).
class ChartNavigation final {
public:
    // The tree must outlive this object.
    explicit ChartNavigation(const CalendarCounts& tree) noexcept
        : tree_(&tree)
    {
    }

    // Draws from tree from now on, which must outlive this object.
    void attach(const CalendarCounts& tree) noexcept { tree_ = &tree; }

    std::int16_t level = 0; // 1..5 once a run has drawn the chart
    ChartDate cursor;
    std::int16_t nextMonthYear = 0;
    std::int16_t nextMonth = 0;
    bool analysisDone = false; // the buttons do nothing while false
    std::string dayCaption = "まで";

    // The drawing that ends an analysis run: takes the run's earliest and
    // latest entry dates as the bounds, draws the whole span at level 1 and
    // sets level to 1. analysisDone is left to the caller, which sets it
    // once the run has completed. Throws std::out_of_range when the run
    // counted no entry.
    PeriodDrawing finishRun(const TrendCounts& counts);

    // Bounds of the stepping: the earliest and latest entry dates.
    void setBounds(CivilDate earliest, CivilDate latest) noexcept;
    CivilDate earliest() const noexcept { return earliest_; }
    CivilDate latest() const noexcept { return latest_; }

    // Which buttons can act, and why the others cannot: a button whose limit
    // is not None returns nullopt.
    ChartLimits limits() const noexcept;
    bool canZoomIn() const noexcept { return limits().zoomIn == ChartLimit::None; }
    bool canZoomOut() const noexcept { return limits().zoomOut == ChartLimit::None; }
    bool canShowEarlier() const noexcept { return limits().earlier == ChartLimit::None; }
    bool canShowLater() const noexcept { return limits().later == ChartLimit::None; }

    std::optional<PeriodDrawing> zoomIn();
    std::optional<PeriodDrawing> zoomOut();
    std::optional<PeriodDrawing> showEarlier();
    std::optional<PeriodDrawing> showLater();

    // Shows level 1..5 with the cursor on date, as the buttons would: level 1
    // draws the whole span, level 3 takes date plus one month as the next
    // month, level 4 moves the cursor to its Sunday. Sets level. Any
    // other level: nullopt, nothing changed.
    std::optional<PeriodDrawing> drawAt(int level, CivilDate date);

private:
    bool buttonsLive() const noexcept;
    std::optional<PeriodDrawing> draw();
    void setNextMonthFromCursor();

    const CalendarCounts* tree_;
    CivilDate earliest_;
    CivilDate latest_;
};

} // namespace tolvane
