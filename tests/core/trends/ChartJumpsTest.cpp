// Clicking a bar and Home/End on the period chart, followed through the real
// navigation so the captions show where each jump lands.
#include "core/trends/ChartJumps.h"
#include "core/trends/ChartNavigation.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(ChartJumpsTest, ABarOpensItsPeriodAndHomeAndEndFindTheFirstAndLastPlay)
{
    CalendarCounts tree;
    TrendCounts counts;
    ChartNavigation nav{tree};
    // Out of date order, as in a merged log: the first entry is not the earliest.
    for (const CivilDate d : {CivilDate{2002, 1, 2}, CivilDate{2001, 11, 3}, CivilDate{2002, 2, 14}})
        counts.count({0, d.year, d.month, d.day, weekdayOf(d.year, d.month, d.day), 21, 0}, tree, nav.cursor);
    nav.finishRun(counts);
    nav.analysisDone = true;
    const auto cursor = [&nav] { return CivilDate{nav.cursor.year, nav.cursor.month, nav.cursor.day}; };
    const auto go = [&](std::optional<ChartPlace> place) {
        EXPECT_TRUE(place);
        return place ? nav.drawAt(place->level, place->date).value() : PeriodDrawing{};
    };

    // Level 1 runs 2001/11 .. 2002/2: its third bar is January 2002, whose days open.
    PeriodDrawing shown = go(barTarget(1, cursor(), nav.earliest(), 2, 4));
    EXPECT_EQ(shown.level, 3);
    EXPECT_EQ(shown.rows.size(), 31U);
    EXPECT_EQ(shown.from, "2002年1月1日");
    // The second day's bar opens its hours.
    shown = go(barTarget(3, cursor(), nav.earliest(), 1, shown.rows.size()));
    EXPECT_EQ(shown.from, "2002年1月2日0時");
    EXPECT_FALSE(barTarget(5, cursor(), nav.earliest(), 0, 24)); // an hour is as close as it gets
    // Down to the week (2001/12/30 .. 2002/1/5): its Saturday's bar opens that day.
    shown = nav.zoomOut().value();
    EXPECT_EQ(shown.from, "2001年12月30日");
    EXPECT_EQ(go(barTarget(4, cursor(), nav.earliest(), 6, 7)).from, "2002年1月5日0時");
    EXPECT_FALSE(barTarget(4, cursor(), nav.earliest(), 7, 7)); // past the last bar

    // A month's bar on the year chart; then Home and End keep the level.
    nav.drawAt(2, {2002, 6, 1});
    EXPECT_EQ(go(barTarget(2, cursor(), nav.earliest(), 1, 12)).from, "2002年2月1日");
    EXPECT_EQ(go(edgeTarget(3, nav.earliest())).from, "2001年11月1日");
    EXPECT_FALSE(nav.showEarlier()); // really the first month
    nav.zoomOut();
    shown = go(edgeTarget(4, nav.latest()));
    EXPECT_EQ(shown.from, "2002年2月10日"); // the week holding 2002/2/14
    EXPECT_EQ(shown.to, "2002年2月16日");
    EXPECT_FALSE(edgeTarget(1, nav.latest()));
}

} // namespace
} // namespace tolvane
