#include "core/trends/PeriodChart.h"
#include "core/trends/TotalsCharts.h"
#include "core/trends/TrendCounts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tolvane {
namespace {

std::string valuesOf(const ChartRows& rows)
{
    std::string joined;
    for (std::size_t i = 0; i < rows.size(); ++i)
        joined += (i == 0 ? "" : ",") + chartValueText(rows[i].value);
    return joined;
}

class PeriodChartTest : public ::testing::Test {
protected:
    PeriodDrawing draw(int level, int F = 0, int L = 0)
    {
        return drawPeriodChart(level, F, L, tree, cursor, nextYear, nextMonth, label2).value();
    }

    CalendarCounts tree;
    ChartDate cursor;
    std::int16_t nextYear = 0;
    std::int16_t nextMonth = 0;
    std::string label2 = "まで";
};

TEST_F(PeriodChartTest, SpanRunsMonthByMonthAcrossYears)
{
    tree.record(2001, 11, 21, 19);
    tree.record(2002, 2, 7, 0);
    const PeriodDrawing span = draw(1, 2001, 2002);
    EXPECT_EQ(span.rows, (ChartRows{{"2001/11", 1}, {"2001/12", 0}, {"2002/1", 0}, {"2002/2", 1}}));
    EXPECT_EQ(span.from + span.to, "2001年11月2002年2月");
    EXPECT_TRUE(draw(1, 2002, 2001).rows.empty());
    EXPECT_THROW(draw(1, 2000, 2002), std::out_of_range);
}

TEST_F(PeriodChartTest, YearAndMonthLevels)
{
    tree.record(2000, 2, 29, 10);
    tree.record(2000, 3, 1, 10);
    cursor = {2000, 2, 10, 5};
    const PeriodDrawing year = draw(2);
    EXPECT_EQ(valuesOf(year.rows), "0,1,1,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(year.rows[11].label, "2000/12");
    EXPECT_EQ(year.from + year.to, "2000年1月2000年12月");

    nextYear = 2000;
    nextMonth = 3;
    const PeriodDrawing month = draw(3);
    ASSERT_EQ(month.rows.size(), 29u);
    EXPECT_EQ(month.rows[0], (ChartRow{"2/1", 0}));
    EXPECT_EQ(month.rows[28], (ChartRow{"2/29", 1}));
    EXPECT_EQ(month.from + month.to, "2000年2月1日2000年2月29日");
}

TEST_F(PeriodChartTest, DayShowsHoursAndOnlyTheDayLevelNamesItsDay)
{
    tree.record(2001, 5, 3, 21);
    cursor = {2001, 5, 3, 5};
    for (int level : {0, 6}) // draw nothing
        EXPECT_FALSE(drawPeriodChart(level, 0, 0, tree, cursor, 0, 0, label2));
    const PeriodDrawing day = draw(5);
    EXPECT_EQ(day.rows[21], (ChartRow{"21", 1}));
    EXPECT_EQ(valuesOf(day.rows), "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0");
    EXPECT_EQ(day.from + day.to, "2001年5月3日0時2001年5月3日23時");
    EXPECT_EQ(label2, "2001年5月3日");
    // Zooming back out shows "まで" again, not the last day drawn.
    draw(4);
    EXPECT_EQ(label2, "まで");
}

// The plays of the example log small.txt (year, month, day, hour) and the
// charts its report shows.
TEST(SmallLogExample, ChartsMatchTheReport)
{
    static constexpr int kPlays[][4] = {{2001, 11, 21, 19}, {2001, 11, 27, 5}, {2001, 11, 27, 20}, {2001, 11, 30, 22},
        {2001, 12, 1, 18}, {2001, 12, 8, 22}, {2001, 12, 12, 0}, {2001, 12, 13, 20}, {2001, 12, 17, 16},
        {2001, 12, 17, 23}, {2001, 12, 18, 20}, {2001, 12, 21, 16}, {2001, 12, 22, 1}, {2001, 12, 22, 4},
        {2001, 12, 22, 17}, {2001, 12, 24, 19}, {2001, 12, 27, 8}, {2001, 12, 30, 11}, {2001, 12, 30, 21},
        {2001, 12, 31, 21}, {2002, 1, 4, 23}, {2002, 1, 5, 23}, {2002, 1, 6, 20}, {2002, 1, 10, 16}, {2002, 1, 11, 5},
        {2002, 1, 13, 20}, {2002, 1, 15, 9}, {2002, 1, 15, 12}, {2002, 1, 15, 19}, {2002, 1, 18, 18}, {2002, 1, 18, 23},
        {2002, 1, 19, 20}, {2002, 1, 25, 17}, {2002, 1, 27, 3}, {2002, 1, 28, 17}, {2002, 1, 31, 15}, {2002, 2, 4, 21},
        {2002, 2, 5, 22}, {2002, 2, 6, 7}, {2002, 2, 7, 0}};
    CalendarCounts tree;
    TrendCounts counts;
    ChartDate cursor;
    for (const auto& p : kPlays)
        counts.count({0, p[0], p[1], p[2], weekdayOf(p[0], p[1], p[2]), p[3], 0}, tree, cursor);
    std::string label2 = "まで";
    const auto span = drawPeriodChart(1, 2001, 2002, tree, cursor, 0, 0, label2).value();
    EXPECT_EQ(valuesOf(span.rows), "4,16,16,4");

    cursor = {2002, 1, 2, 4}; // a Wednesday
    const auto week = drawPeriodChart(4, 0, 0, tree, cursor, 0, 0, label2).value();
    EXPECT_EQ(cursor, (ChartDate{2001, 12, 30, 1}));
    EXPECT_EQ(week.rows[0], (ChartRow{"12/30(日曜日)", 2}));
    EXPECT_EQ(week.rows[2], (ChartRow{"1/1(火曜日)", 0}));
    EXPECT_EQ(week.rows[6], (ChartRow{"1/5(土曜日)", 1}));
    EXPECT_EQ(valuesOf(week.rows), "2,1,0,0,0,1,1");
    EXPECT_EQ(week.from + week.to, "2001年12月30日2002年1月5日");

    const TotalsCharts totals = fillTotalsCharts(counts);
    EXPECT_EQ(totals.year, (ChartRows{{"2001年", 20}, {"2002年", 20}}));
    EXPECT_EQ(valuesOf(totals.month), "16,4,,,,,,,,,4,16");
    EXPECT_EQ(valuesOf(totals.day), "1,,,2,2,2,1,1,,1,1,1,2,,3,,2,3,1,,2,3,,1,1,,4,1,,3,2");
    EXPECT_EQ(valuesOf(totals.weekday), "5,6,7,3,5,7,7");
    EXPECT_EQ(valuesOf(totals.hour), "2,1,0,1,1,2,0,1,1,1,0,1,1,0,0,1,3,3,2,3,6,3,3,4");
}

} // namespace
} // namespace tolvane
