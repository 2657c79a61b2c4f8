#include "core/trends/ChartNavigation.h"

#include <stdexcept>

namespace tolvane {

namespace {

std::int64_t serialOf(const ChartDate& date)
{
    return serialDay(date.year, date.month, date.day);
}

std::int64_t serialOf(const CivilDate& date)
{
    return serialDay(date.year, date.month, date.day);
}

void moveTo(ChartDate& cursor, const CivilDate& date)
{
    cursor.year = static_cast<std::int16_t>(date.year);
    cursor.month = static_cast<std::int16_t>(date.month);
    cursor.day = static_cast<std::int16_t>(date.day);
    cursor.weekday = static_cast<std::int16_t>(weekdayOf(date.year, date.month, date.day));
}

// The nearest Sunday strictly before (step -1) or after (step +1) a day.
CivilDate nearestSunday(std::int64_t from, int step)
{
    std::int64_t day = from;
    for (int i = 1; i <= 8; ++i) {
        day = from + step * i;
        if (weekdayOfSerial(day) == 1)
            break;
    }
    return civilDate(day);
}

int monthIndex(int year, int month)
{
    return year * 12 + month;
}

} // namespace

PeriodDrawing ChartNavigation::finishRun(const TrendCounts& counts)
{
    if (counts.entries() == 0)
        throw std::out_of_range("no entry to chart");
    setBounds(counts.earliest(), counts.latest());
    PeriodDrawing drawing
        = *drawPeriodChart(1, earliest_.year, latest_.year, *tree_, cursor, nextMonthYear, nextMonth, dayCaption);
    level = 1;
    return drawing;
}

void ChartNavigation::setBounds(CivilDate earliest, CivilDate latest) noexcept
{
    earliest_ = earliest;
    latest_ = latest;
}

bool ChartNavigation::buttonsLive() const noexcept
{
    // A level outside 1..5 means no run has drawn the chart yet.
    return analysisDone && level >= 1 && level <= 5;
}

std::optional<PeriodDrawing> ChartNavigation::draw()
{
    if (level == 1)
        return drawPeriodChart(1, earliest_.year, latest_.year, *tree_, cursor, nextMonthYear, nextMonth, dayCaption);
    return drawPeriodChart(level, 0, 0, *tree_, cursor, nextMonthYear, nextMonth, dayCaption);
}

void ChartNavigation::setNextMonthFromCursor()
{
    const CivilDate next = addMonths(CivilDate{cursor.year, cursor.month, cursor.day}, 1);
    nextMonthYear = static_cast<std::int16_t>(next.year);
    nextMonth = static_cast<std::int16_t>(next.month);
}

ChartLimits ChartNavigation::limits() const noexcept
{
    ChartLimits limits;
    if (!buttonsLive())
        return limits;
    limits.zoomIn = level == 5 ? ChartLimit::Finest : ChartLimit::None;
    limits.zoomOut = level == 1 ? ChartLimit::Coarsest : ChartLimit::None;
    // Every bound stops the cursor on or past the first or last entry, not
    // only exactly on it: the week view may leave the cursor on a Sunday
    // outside the log, and from there an equality bound would never stop a step.
    bool atFirst = false;
    bool atLast = false;
    switch (level) {
    case 1: limits.earlier = limits.later = ChartLimit::WholeSpan; return limits;
    case 2:
        atFirst = cursor.year <= earliest_.year;
        atLast = cursor.year >= latest_.year;
        break;
    case 3:
        atFirst = monthIndex(cursor.year, cursor.month) <= monthIndex(earliest_.year, earliest_.month);
        atLast = monthIndex(cursor.year, cursor.month) >= monthIndex(latest_.year, latest_.month);
        break;
    default: // 4 and 5 compare whole dates: the shown Sunday may lie before the first entry
        atFirst = serialOf(cursor) <= serialOf(earliest_);
        atLast = serialOf(cursor) >= serialOf(latest_);
        break;
    }
    limits.earlier = atFirst ? ChartLimit::FirstPeriod : ChartLimit::None;
    limits.later = atLast ? ChartLimit::LastPeriod : ChartLimit::None;
    return limits;
}

std::optional<PeriodDrawing> ChartNavigation::zoomIn()
{
    if (!canZoomIn())
        return std::nullopt;
    ++level;
    if (level == 3)
        setNextMonthFromCursor();
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::zoomOut()
{
    if (!canZoomOut())
        return std::nullopt;
    --level;
    if (level == 3)
        setNextMonthFromCursor();
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::showEarlier()
{
    if (!canShowEarlier())
        return std::nullopt;
    const int Y = cursor.year;
    const int M = cursor.month;
    const int D = cursor.day;
    switch (level) {
    case 2: moveTo(cursor, {Y - 1, 12, 31}); break;
    case 3: {
        // The month left behind is the one after the new cursor month.
        nextMonthYear = static_cast<std::int16_t>(Y);
        nextMonth = static_cast<std::int16_t>(M);
        const CivilDate before = addMonths(CivilDate{Y, M, D}, -1);
        const auto length
            = static_cast<int>(serialDay(nextMonthYear, nextMonth, 1) - serialDay(before.year, before.month, 1));
        moveTo(cursor, {before.year, before.month, length});
        break;
    }
    case 4: moveTo(cursor, nearestSunday(serialOf(cursor), -1)); break;
    default: // 5
        moveTo(cursor, civilDate(serialOf(cursor) - 1));
        break;
    }
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::showLater()
{
    if (!canShowLater())
        return std::nullopt;
    const int Y = cursor.year;
    const int M = cursor.month;
    const int D = cursor.day;
    switch (level) {
    case 2: moveTo(cursor, {Y + 1, 1, 1}); break;
    case 3: {
        const CivilDate afterNext = addMonths(CivilDate{Y, M, D}, 2);
        nextMonthYear = static_cast<std::int16_t>(afterNext.year);
        nextMonth = static_cast<std::int16_t>(afterNext.month);
        const CivilDate next = addMonths(CivilDate{Y, M, D}, 1);
        moveTo(cursor, {next.year, next.month, 1});
        break;
    }
    case 4: moveTo(cursor, nearestSunday(serialOf(cursor), +1)); break;
    default: // 5
        moveTo(cursor, civilDate(serialOf(cursor) + 1));
        break;
    }
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::drawAt(int wanted, CivilDate date)
{
    if (wanted < 1 || wanted > 5)
        return std::nullopt;
    moveTo(cursor, date);
    if (wanted == 3)
        setNextMonthFromCursor();
    level = static_cast<std::int16_t>(wanted);
    return draw();
}

} // namespace tolvane
