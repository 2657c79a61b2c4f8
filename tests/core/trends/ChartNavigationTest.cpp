#include "core/trends/ChartNavigation.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace tolvane {
namespace {

ChartDate on(int year, int month, int day)
{
    return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), static_cast<std::int16_t>(day),
        static_cast<std::int16_t>(weekdayOf(year, month, day))};
}

class ChartNavigationTest : public ::testing::Test {
protected:
    // One completed analysis run over plays on these days, in this order.
    void run(std::initializer_list<CivilDate> days)
    {
        tree.clear();
        counts.clear();
        for (const CivilDate& d : days)
            counts.count({0, d.year, d.month, d.day, weekdayOf(d.year, d.month, d.day), 21, 0}, tree, nav.cursor);
        nav.finishRun(counts);
        nav.analysisDone = true;
    }

    void show(int level, int year, int month, int day) { ASSERT_TRUE(nav.drawAt(level, {year, month, day})); }

    CalendarCounts tree;
    TrendCounts counts;
    ChartNavigation nav{tree};
};

TEST_F(ChartNavigationTest, ButtonsWaitForACompletedAnalysis)
{
    run({{2001, 3, 14}, {2002, 5, 1}});
    nav.analysisDone = false;
    for (std::int16_t level = 0; level <= 5; ++level) {
        nav.level = level;
        EXPECT_FALSE(nav.zoomIn() || nav.zoomOut() || nav.showEarlier() || nav.showLater());
        EXPECT_EQ(nav.level, level);
    }
    nav.analysisDone = true;
    nav.level = 1;
    EXPECT_FALSE(nav.zoomOut() || nav.showEarlier() || nav.showLater());
    EXPECT_EQ(nav.zoomIn().value().from, "2001年1月");
    EXPECT_EQ(nav.zoomOut().value().rows.size(), 15u); // back to the whole span
}

TEST_F(ChartNavigationTest, YearAndMonthSteps)
{
    run({{2000, 6, 1}, {2003, 5, 1}});
    nav.zoomIn();
    EXPECT_FALSE(nav.showEarlier());
    show(2, 2003, 5, 1);
    EXPECT_FALSE(nav.showLater());
    ASSERT_TRUE(nav.showEarlier());
    EXPECT_EQ(nav.cursor, on(2002, 12, 31));
    EXPECT_EQ(nav.zoomIn().value().from, "2002年12月1日");

    show(3, 2001, 3, 20);
    EXPECT_EQ(nav.showEarlier().value().rows.size(), 28u);
    EXPECT_EQ(nav.cursor, on(2001, 2, 28));
    EXPECT_EQ(nav.showLater().value().rows.size(), 31u);
    EXPECT_EQ(nav.cursor, on(2001, 3, 1));

    show(3, 2001, 12, 31);
    EXPECT_EQ(nav.showLater().value().from, "2002年1月1日");
    EXPECT_EQ(nav.cursor, on(2002, 1, 1));
    EXPECT_EQ(nav.nextMonthYear * 100 + nav.nextMonth, 200202);
    show(3, 2000, 6, 15);
    EXPECT_FALSE(nav.showEarlier());
    show(3, 2003, 5, 15);
    EXPECT_FALSE(nav.showLater());
}

TEST_F(ChartNavigationTest, WeekStepsCompareWholeDates)
{
    run({{2001, 3, 14}});
    show(4, 2001, 3, 14);
    EXPECT_EQ(nav.cursor, on(2001, 3, 11));
    EXPECT_FALSE(nav.showEarlier());
    EXPECT_EQ(nav.showLater().value().from, "2001年3月18日");
    EXPECT_FALSE(nav.showLater());

    run({{2001, 1, 2}, {2001, 2, 20}});
    show(4, 2001, 1, 9);
    ASSERT_TRUE(nav.showEarlier());
    EXPECT_EQ(nav.cursor, on(2000, 12, 31));
    EXPECT_FALSE(nav.showEarlier());
}

TEST_F(ChartNavigationTest, DayStepsAndZoomFromTheWeek)
{
    run({{2001, 11, 21}, {2002, 1, 1}});
    show(5, 2002, 1, 1);
    EXPECT_FALSE(nav.showLater());
    EXPECT_EQ(nav.showEarlier().value().from, "2001年12月31日0時");
    show(5, 2001, 12, 1);
    ASSERT_TRUE(nav.showEarlier());
    EXPECT_EQ(nav.cursor, on(2001, 11, 30));
    show(5, 2001, 11, 21);
    EXPECT_FALSE(nav.showEarlier());

    show(3, 2002, 1, 1);
    nav.zoomIn();
    EXPECT_EQ(nav.zoomIn().value().from, "2001年12月30日0時");
    EXPECT_FALSE(nav.zoomIn());
    nav.zoomOut();
    nav.zoomOut();
    EXPECT_EQ(nav.nextMonthYear * 100 + nav.nextMonth, 200201);
    EXPECT_EQ(nav.dayCaption, "まで");
}

TEST_F(ChartNavigationTest, LogOutOfTimeOrderUsesEarliestAndLatest)
{
    run({{2002, 3, 1}, {1999, 7, 15}});
    EXPECT_EQ(nav.cursor, on(2002, 3, 1));
    const PeriodDrawing span = nav.drawAt(1, {2002, 3, 1}).value();
    EXPECT_EQ(span.from + span.to, "1999年7月2002年3月");
    nav.zoomIn();
    EXPECT_FALSE(nav.showLater());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(nav.showEarlier());
    EXPECT_EQ(nav.cursor.year, 1999);
    EXPECT_FALSE(nav.showEarlier());
    EXPECT_FALSE(nav.drawAt(6, {2001, 3, 14}));
}

TEST_F(ChartNavigationTest, ACursorLeftOutsideTheLogByTheWeekViewCannotWalkFurtherOut)
{
    // The first week starts on Sunday 31 December 2000, before the first play.
    run({{2001, 1, 2}, {2001, 2, 20}});
    show(4, 2001, 1, 2);
    EXPECT_EQ(nav.cursor, on(2000, 12, 31));
    ASSERT_TRUE(nav.zoomIn()); // the day view of 31 December 2000
    EXPECT_FALSE(nav.showEarlier());
    nav.zoomOut();
    nav.zoomOut(); // December 2000
    EXPECT_EQ(nav.cursor.month, 12);
    EXPECT_FALSE(nav.showEarlier());
    nav.zoomOut(); // the year 2000
    EXPECT_FALSE(nav.showEarlier());

    // The same on the far side: the week view steps once past the last play.
    show(4, 2001, 2, 20);
    ASSERT_TRUE(nav.showLater());
    EXPECT_EQ(nav.cursor, on(2001, 2, 25));
    EXPECT_FALSE(nav.showLater());
    nav.zoomIn(); // the day view of 25 February
    EXPECT_FALSE(nav.showLater());
    ASSERT_TRUE(nav.showEarlier());
    EXPECT_EQ(nav.cursor, on(2001, 2, 24));
}

TEST_F(ChartNavigationTest, TheLimitsSayWhichButtonsCanAct)
{
    run({{2000, 12, 30}, {2001, 1, 2}});
    EXPECT_EQ(nav.limits(),
        (ChartLimits{ChartLimit::None, ChartLimit::Coarsest, ChartLimit::WholeSpan, ChartLimit::WholeSpan}));
    // Walk every level from the first play to past the last: a limit says
    // None exactly when its button draws, tried on a copy.
    for (int level = 1; level <= 5; ++level) {
        show(level, 2000, 12, 30);
        for (int step = 0; step < 12; ++step) {
            const ChartLimits limits = nav.limits();
            const std::pair<ChartLimit, std::optional<PeriodDrawing> (ChartNavigation::*)()> buttons[]
                = {{limits.zoomIn, &ChartNavigation::zoomIn}, {limits.zoomOut, &ChartNavigation::zoomOut},
                    {limits.earlier, &ChartNavigation::showEarlier}, {limits.later, &ChartNavigation::showLater}};
            for (const auto& [limit, button] : buttons) {
                ChartNavigation tried = nav;
                EXPECT_EQ(limit == ChartLimit::None, (tried.*button)().has_value()) << level << " " << step;
            }
            if (!nav.showLater())
                break;
        }
        const ChartLimits last = nav.limits();
        EXPECT_EQ(last.later, level == 1 ? ChartLimit::WholeSpan : ChartLimit::LastPeriod) << level;
        EXPECT_EQ(last.zoomIn, level == 5 ? ChartLimit::Finest : ChartLimit::None) << level;
    }
    show(3, 2000, 12, 30);
    EXPECT_EQ(nav.limits().earlier, ChartLimit::FirstPeriod);
    nav.analysisDone = false;
    EXPECT_EQ(nav.limits(), ChartLimits{});
}

} // namespace
} // namespace tolvane
