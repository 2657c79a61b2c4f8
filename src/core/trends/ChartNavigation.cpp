#include "core/trends/ChartNavigation.h"

#include <stdexcept>

namespace tolvane {

namespace {

std::int64_t serialOf(const UsrDate& date)
{
    return serialDay(date.Year, date.Month, date.Day);
}

std::int64_t serialOf(const CivilDate& date)
{
    return serialDay(date.year, date.month, date.day);
}

void moveTo(UsrDate& cursor, const CivilDate& date)
{
    cursor.Year = static_cast<std::int16_t>(date.year);
    cursor.Month = static_cast<std::int16_t>(date.month);
    cursor.Day = static_cast<std::int16_t>(date.day);
    cursor.Youbi = static_cast<std::int16_t>(weekdayOf(date.year, date.month, date.day));
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
        = *DrawPeriodChart(1, earliest_.year, latest_.year, *tree_, ChartCursor, NextMonthYear, NextMonth, Label2);
    ChartLevel = 1;
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
    return AnalysisDone && ChartLevel >= 1 && ChartLevel <= 5;
}

std::optional<PeriodDrawing> ChartNavigation::draw()
{
    if (ChartLevel == 1)
        return DrawPeriodChart(1, earliest_.year, latest_.year, *tree_, ChartCursor, NextMonthYear, NextMonth, Label2);
    return DrawPeriodChart(ChartLevel, 0, 0, *tree_, ChartCursor, NextMonthYear, NextMonth, Label2);
}

void ChartNavigation::setNextMonthFromCursor()
{
    const CivilDate next = addMonths(CivilDate{ChartCursor.Year, ChartCursor.Month, ChartCursor.Day}, 1);
    NextMonthYear = static_cast<std::int16_t>(next.year);
    NextMonth = static_cast<std::int16_t>(next.month);
}

std::optional<PeriodDrawing> ChartNavigation::CommandUP()
{
    if (!buttonsLive() || ChartLevel == 5)
        return std::nullopt;
    ++ChartLevel;
    if (ChartLevel == 3)
        setNextMonthFromCursor();
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::CommandDown()
{
    if (!buttonsLive() || ChartLevel == 1)
        return std::nullopt;
    --ChartLevel;
    if (ChartLevel == 3)
        setNextMonthFromCursor();
    return draw();
}

// Every bound stops the cursor on or past the first or last entry, not only
// exactly on it: the week view may leave the cursor on a Sunday outside the
// log, and from there an equality bound would never stop a step.
std::optional<PeriodDrawing> ChartNavigation::CommandL()
{
    if (!buttonsLive() || ChartLevel == 1)
        return std::nullopt;
    const int Y = ChartCursor.Year;
    const int M = ChartCursor.Month;
    const int D = ChartCursor.Day;
    switch (ChartLevel) {
    case 2:
        if (Y <= earliest_.year)
            return std::nullopt;
        moveTo(ChartCursor, {Y - 1, 12, 31});
        break;
    case 3: {
        if (monthIndex(Y, M) <= monthIndex(earliest_.year, earliest_.month))
            return std::nullopt;
        // The month left behind is the one after the new cursor month.
        NextMonthYear = static_cast<std::int16_t>(Y);
        NextMonth = static_cast<std::int16_t>(M);
        const CivilDate before = addMonths(CivilDate{Y, M, D}, -1);
        const auto length
            = static_cast<int>(serialDay(NextMonthYear, NextMonth, 1) - serialDay(before.year, before.month, 1));
        moveTo(ChartCursor, {before.year, before.month, length});
        break;
    }
    case 4:
        // Whole dates: the shown Sunday may lie in the month or year before
        // the first entry.
        if (serialOf(ChartCursor) <= serialOf(earliest_))
            return std::nullopt;
        moveTo(ChartCursor, nearestSunday(serialOf(ChartCursor), -1));
        break;
    default: // 5
        if (serialOf(ChartCursor) <= serialOf(earliest_))
            return std::nullopt;
        moveTo(ChartCursor, civilDate(serialOf(ChartCursor) - 1));
        break;
    }
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::CommandR()
{
    if (!buttonsLive() || ChartLevel == 1)
        return std::nullopt;
    const int Y = ChartCursor.Year;
    const int M = ChartCursor.Month;
    const int D = ChartCursor.Day;
    switch (ChartLevel) {
    case 2:
        if (Y >= latest_.year)
            return std::nullopt;
        moveTo(ChartCursor, {Y + 1, 1, 1});
        break;
    case 3: {
        if (monthIndex(Y, M) >= monthIndex(latest_.year, latest_.month))
            return std::nullopt;
        const CivilDate afterNext = addMonths(CivilDate{Y, M, D}, 2);
        NextMonthYear = static_cast<std::int16_t>(afterNext.year);
        NextMonth = static_cast<std::int16_t>(afterNext.month);
        const CivilDate next = addMonths(CivilDate{Y, M, D}, 1);
        moveTo(ChartCursor, {next.year, next.month, 1});
        break;
    }
    case 4:
        if (serialOf(ChartCursor) >= serialOf(latest_))
            return std::nullopt;
        moveTo(ChartCursor, nearestSunday(serialOf(ChartCursor), +1));
        break;
    default: // 5
        if (serialOf(ChartCursor) >= serialOf(latest_))
            return std::nullopt;
        moveTo(ChartCursor, civilDate(serialOf(ChartCursor) + 1));
        break;
    }
    return draw();
}

std::optional<PeriodDrawing> ChartNavigation::drawAt(int level, CivilDate date)
{
    if (level < 1 || level > 5)
        return std::nullopt;
    moveTo(ChartCursor, date);
    if (level == 3)
        setNextMonthFromCursor();
    ChartLevel = static_cast<std::int16_t>(level);
    return draw();
}

} // namespace tolvane
