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

void drawSpan(PeriodDrawing& drawing, const CalendarTree& tree, int F, int L)
{
    const int m0 = tree.years.Item(F).MinMonth;
    const int m1 = tree.years.Item(L).MaxMonth;
    // Backwards (F after L) this is not positive, and the chart stays empty.
    const std::int64_t n = (static_cast<std::int64_t>(L) - F) * 12 + m1 - m0 + 1;
    for (std::int64_t i = 1; i <= n; ++i) {
        const std::int64_t k = m0 + i - 2;
        const auto y = static_cast<int>(F + k / 12);
        const auto m = static_cast<int>(k % 12 + 1);
        drawing.rows.push_back({num(y) + "/" + num(m), num(tree.count(y, m))});
    }
    drawing.from = num(F) + "年" + num(m0) + "月";
    drawing.to = num(L) + "年" + num(m1) + "月";
}

void drawYear(PeriodDrawing& drawing, const CalendarTree& tree, const UsrDate& cursor)
{
    for (int i = 1; i <= 12; ++i)
        drawing.rows.push_back({num(cursor.Year) + "/" + num(i), num(tree.count(cursor.Year, i))});
    drawing.from = num(cursor.Year) + "年1月";
    drawing.to = num(cursor.Year) + "年12月";
}

void drawMonth(
    PeriodDrawing& drawing, const CalendarTree& tree, const UsrDate& cursor, int nextMonthYear, int nextMonth)
{
    const int Y = cursor.Year;
    const int M = cursor.Month;
    const std::int64_t n = std::llabs(serialDay(nextMonthYear, nextMonth, 1) - serialDay(Y, M, 1));
    for (std::int64_t i = 1; i <= n; ++i)
        drawing.rows.push_back({num(M) + "/" + num(i), num(tree.count(Y, M, static_cast<int>(i)))});
    drawing.from = dayCaption(Y, M, 1);
    drawing.to = dayCaption(Y, M, static_cast<int>(n));
}

void drawWeek(PeriodDrawing& drawing, const CalendarTree& tree, UsrDate& cursor)
{
    const std::int64_t cursorDay = serialDay(cursor.Year, cursor.Month, cursor.Day);
    const std::int64_t sunday = cursorDay - (weekdayOfSerial(cursorDay) - 1);
    const CivilDate first = civilDate(sunday);
    cursor.Year = static_cast<std::int16_t>(first.year);
    cursor.Month = static_cast<std::int16_t>(first.month);
    cursor.Day = static_cast<std::int16_t>(first.day);
    cursor.Youbi = 1;

    CivilDate d = first;
    for (int i = 1; i <= 7; ++i) {
        d = civilDate(sunday + i - 1);
        drawing.rows.push_back({num(d.month) + "/" + num(d.day) + "(" + std::string(weekdayName(i)) + ")",
            num(tree.count(d.year, d.month, d.day))});
    }
    drawing.from = dayCaption(first.year, first.month, first.day);
    drawing.to = dayCaption(d.year, d.month, d.day);
}

void drawDay(PeriodDrawing& drawing, const CalendarTree& tree, const UsrDate& cursor, std::string& label2)
{
    const int Y = cursor.Year;
    const int M = cursor.Month;
    const int D = cursor.Day;
    for (int h = 0; h <= 23; ++h)
        drawing.rows.push_back({num(h), num(tree.count(Y, M, D, h))});
    label2 = dayCaption(Y, M, D);
    drawing.from = label2 + "0時";
    drawing.to = label2 + "23時";
}

} // namespace

std::optional<PeriodDrawing> DrawPeriodChart(int level, int F, int L, const CalendarTree& tree, UsrDate& ChartCursor,
    std::int16_t NextMonthYear, std::int16_t NextMonth, std::string& Label2)
{
    PeriodDrawing drawing;
    drawing.level = level;
    // Only a day's drawing names its day in the fourth caption.
    if (level >= 1 && level <= 4)
        Label2 = "まで";
    switch (level) {
    case 1: drawSpan(drawing, tree, F, L); break;
    case 2: drawYear(drawing, tree, ChartCursor); break;
    case 3: drawMonth(drawing, tree, ChartCursor, NextMonthYear, NextMonth); break;
    case 4: drawWeek(drawing, tree, ChartCursor); break;
    case 5: drawDay(drawing, tree, ChartCursor, Label2); break;
    default: return std::nullopt;
    }
    return drawing;
}

} // namespace tolvane
