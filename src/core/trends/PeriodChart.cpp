#include "core/trends/PeriodChart.h"

#include "core/log/DateValue.h"

#include <cstdlib>

namespace tolvane {

namespace {

std::string num(std::int64_t n)
{
    return std::to_string(n);
}

std::string dayCaption(int year, int month, int day)
{
    return num(year) + "年" + num(month) + "月" + num(day) + "日";
}

void drawSpan(PeriodDrawing& drawing, const CalendarCounts& tree, int F, int L)
{
    const int m0 = tree.years.at(F).firstMonth;
    const int m1 = tree.years.at(L).lastMonth;
    // Backwards (F after L) this is not positive, and the chart stays empty.
    const std::int64_t n = (static_cast<std::int64_t>(L) - F) * 12 + m1 - m0 + 1;
    for (std::int64_t i = 1; i <= n; ++i) {
        const std::int64_t k = m0 + i - 2;
        const auto y = static_cast<int>(F + k / 12);
        const auto m = static_cast<int>(k % 12 + 1);
        drawing.rows.push_back({num(y) + "/" + num(m), tree.count(y, m)});
    }
    drawing.from = num(F) + "年" + num(m0) + "月";
    drawing.to = num(L) + "年" + num(m1) + "月";
}

void drawYear(PeriodDrawing& drawing, const CalendarCounts& tree, const ChartDate& cursor)
{
    for (int i = 1; i <= 12; ++i)
        drawing.rows.push_back({num(cursor.year) + "/" + num(i), tree.count(cursor.year, i)});
    drawing.from = num(cursor.year) + "年1月";
    drawing.to = num(cursor.year) + "年12月";
}

void drawMonth(
    PeriodDrawing& drawing, const CalendarCounts& tree, const ChartDate& cursor, int nextMonthYear, int nextMonth)
{
    const int Y = cursor.year;
    const int M = cursor.month;
    const std::int64_t n = std::llabs(serialDay(nextMonthYear, nextMonth, 1) - serialDay(Y, M, 1));
    for (std::int64_t i = 1; i <= n; ++i)
        drawing.rows.push_back({num(M) + "/" + num(i), tree.count(Y, M, static_cast<int>(i))});
    drawing.from = dayCaption(Y, M, 1);
    drawing.to = dayCaption(Y, M, static_cast<int>(n));
}

void drawWeek(PeriodDrawing& drawing, const CalendarCounts& tree, ChartDate& cursor)
{
    const std::int64_t cursorDay = serialDay(cursor.year, cursor.month, cursor.day);
    const std::int64_t sunday = cursorDay - (weekdayOfSerial(cursorDay) - 1);
    const CivilDate first = civilDate(sunday);
    cursor.year = static_cast<std::int16_t>(first.year);
    cursor.month = static_cast<std::int16_t>(first.month);
    cursor.day = static_cast<std::int16_t>(first.day);
    cursor.weekday = 1;

    CivilDate d = first;
    for (int i = 1; i <= 7; ++i) {
        d = civilDate(sunday + i - 1);
        drawing.rows.push_back({num(d.month) + "/" + num(d.day) + "(" + std::string(weekdayName(i)) + ")",
            tree.count(d.year, d.month, d.day)});
    }
    drawing.from = dayCaption(first.year, first.month, first.day);
    drawing.to = dayCaption(d.year, d.month, d.day);
}

void drawDay(PeriodDrawing& drawing, const CalendarCounts& tree, const ChartDate& cursor, std::string& label2)
{
    const int Y = cursor.year;
    const int M = cursor.month;
    const int D = cursor.day;
    for (int h = 0; h <= 23; ++h)
        drawing.rows.push_back({num(h), tree.count(Y, M, D, h)});
    label2 = dayCaption(Y, M, D);
    drawing.from = label2 + "0時";
    drawing.to = label2 + "23時";
}

} // namespace

std::optional<PeriodDrawing> drawPeriodChart(int level, int F, int L, const CalendarCounts& tree, ChartDate& cursor,
    std::int16_t nextMonthYear, std::int16_t nextMonth, std::string& dayCaption)
{
    PeriodDrawing drawing;
    drawing.level = level;
    // Only a day's drawing names its day in the fourth caption.
    if (level >= 1 && level <= 4)
        dayCaption = "まで";
    switch (level) {
    case 1: drawSpan(drawing, tree, F, L); break;
    case 2: drawYear(drawing, tree, cursor); break;
    case 3: drawMonth(drawing, tree, cursor, nextMonthYear, nextMonth); break;
    case 4: drawWeek(drawing, tree, cursor); break;
    case 5: drawDay(drawing, tree, cursor, dayCaption); break;
    default: return std::nullopt;
    }
    return drawing;
}

} // namespace tolvane
