#include "core/trends/TrendCounts.h"
#include "core/trends/TotalsCharts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tolvane {
namespace {

PlayDate playAt(int year, int month, int day, int hour = 12)
{
    return {makeDate(year, month, day), year, month, day, weekdayOf(year, month, day), hour, 0};
}

// A chart's values joined by commas, so a whole chart reads in one line.
std::string valuesOf(const ChartRows& rows)
{
    std::string joined;
    for (std::size_t i = 0; i < rows.size(); ++i)
        joined += (i == 0 ? "" : ",") + chartValueText(rows[i].value);
    return joined;
}

class TrendCountsTest : public ::testing::Test {
protected:
    void count(const PlayDate& play) { counts.count(play, tree, cursor); }

    CalendarCounts tree;
    TrendCounts counts;
    ChartDate cursor;
};

TEST_F(TrendCountsTest, FirstEntryOfEachRunSetsTheCursor)
{
    PlayDate bad = playAt(2001, 1, 1);
    bad.weekday = 0;
    EXPECT_THROW(count(bad), std::out_of_range);
    EXPECT_EQ(tree.count(2001), 0);

    count(playAt(2001, 11, 21, 19));
    count(playAt(2002, 2, 7, 0));
    EXPECT_EQ(cursor, (ChartDate{2001, 11, 21, 4}));
    EXPECT_EQ(counts.FirstPlayWeekday(), 4);
    EXPECT_EQ(counts.PlayMonth(), 2);
    EXPECT_EQ(tree.count(2002, 2, 7, 0), 1);

    counts.clear();
    EXPECT_EQ(counts.monthTotal(11), 0);
    count(playAt(2003, 5, 4));
    EXPECT_EQ(cursor, (ChartDate{2003, 5, 4, 1}));
}

TEST_F(TrendCountsTest, OutOfOrderLogSpansEarliestToLatestYear)
{
    count(playAt(2002, 3, 1));
    count(playAt(1899, 7, 15));
    count(playAt(2001, 1, 1));
    EXPECT_EQ(cursor, (ChartDate{2002, 3, 1, 6}));
    EXPECT_EQ(counts.earliest(), (CivilDate{1899, 7, 15}));
    EXPECT_EQ(counts.latest(), (CivilDate{2002, 3, 1}));
    const ChartRows years = fillTotalsCharts(counts).year;
    ASSERT_EQ(years.size(), 104u);
    EXPECT_EQ(years.front(), (ChartRow{"1899年", 1}));
    EXPECT_EQ(years[101], (ChartRow{"2000年", std::nullopt}));
    EXPECT_EQ(years.back(), (ChartRow{"2002年", 1}));
}

TEST_F(TrendCountsTest, UntouchedTotalsHaveNoValueButHoursShowZero)
{
    // All on Sundays, one at 0:30.
    count(playAt(2001, 11, 4, 0));
    count(playAt(2001, 12, 30, 23));
    count(playAt(2002, 2, 3, 23));
    const TotalsCharts charts = fillTotalsCharts(counts);
    EXPECT_EQ(valuesOf(charts.month), ",1,,,,,,,,,1,1");
    EXPECT_EQ(valuesOf(charts.weekday), "3,,,,,,");
    EXPECT_EQ(valuesOf(charts.hour), "1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2");

    for (int i = 0; i < 40000; ++i)
        count(playAt(2002, 2, 3, 23));
    EXPECT_EQ(fillTotalsCharts(counts).hour[23].value, 40002);
}

TEST(TotalsChartsTest, DesignedContentHasFixedLabelsOnly)
{
    const TotalsCharts charts = designedTotalsCharts();
    EXPECT_TRUE(charts.year.empty());
    EXPECT_EQ(charts.month[9].label + charts.month[11].label, "１０月１２月");
    EXPECT_EQ(charts.day.back().label + charts.weekday.back().label, "31土曜日");
    EXPECT_EQ(charts.hour.front().label + charts.hour.back().label, "023");
    for (const ChartRows* rows : {&charts.month, &charts.day, &charts.weekday, &charts.hour})
        EXPECT_EQ(valuesOf(*rows), std::string(rows->size() - 1, ','));
}

// Reports and charts print a value exactly as the counts were printed when
// rows carried text: plain digits, no grouping or exponent, nothing for none.
TEST(ChartValueTextTest, PrintsCountsAsPlainDigitsAndNoValueAsNothing)
{
    EXPECT_EQ(chartValueText(std::nullopt), "");
    EXPECT_EQ(chartValueText(0), "0");
    EXPECT_EQ(chartValueText(7), "7");
    EXPECT_EQ(chartValueText(1234567), "1234567");
    EXPECT_EQ(chartValueText(2147483647), "2147483647");
    EXPECT_EQ(chartValueText(std::int64_t{9007199254740993}), "9007199254740993");
}

} // namespace
} // namespace tolvane
