#include "core/calendar/CalendarCounts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace tolvane {
namespace {

template <class Collection, class Field> std::vector<int> numbersOf(const Collection& nodes, Field field)
{
    std::vector<int> numbers;
    for (const auto& node : nodes)
        numbers.push_back(node.*field);
    return numbers;
}

TEST(CalendarCountsCounts, PlaysOfOneDay)
{
    CalendarCounts tree;
    tree.record(2001, 5, 3, 9);
    tree.record(2001, 5, 3, 9);
    tree.record(2001, 5, 3, 21);
    const CalendarDay* day = tree.years.at(2001).months.at(5)->days.at(3);
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->weekday, 5);
    EXPECT_EQ(tree.count(2001), 3);
    EXPECT_EQ(tree.count(2001, 5), 3);
    EXPECT_EQ(tree.count(2001, 5, 3), 3);
    EXPECT_EQ(tree.count(2001, 5, 3, 9), 2);
    EXPECT_EQ(tree.count(2001, 5, 3, 21), 1);
}

TEST(CalendarCountsCounts, ParentsSumTheirChildren)
{
    CalendarCounts tree;
    tree.record(2003, 1, 31, 0);
    tree.record(2003, 1, 31, 23);
    tree.record(2003, 2, 1, 0);
    tree.record(2003, 1, 2, 23);
    EXPECT_EQ(tree.count(2003), tree.count(2003, 1) + tree.count(2003, 2));
    EXPECT_EQ(tree.count(2003, 1), tree.count(2003, 1, 31) + tree.count(2003, 1, 2));
    EXPECT_EQ(tree.count(2003, 1, 31), tree.count(2003, 1, 31, 0) + tree.count(2003, 1, 31, 23));
    EXPECT_EQ(tree.count(2003, 1, 31, 0), 1); // hour 0 is a real hour
    EXPECT_EQ(tree.count(2003, 3), 0);

    for (int i = 0; i < 40000; ++i)
        tree.record(2010, 7, 7, 7);
    EXPECT_EQ(tree.count(2010, 7, 7, 7), 40000);
    EXPECT_EQ(tree.count(2010), 40000);
}

TEST(CalendarCountsMonths, SpanFollowsNewMonthsInAnyOrder)
{
    CalendarCounts tree;
    tree.record(2005, 12, 24, 20);
    tree.record(2005, 12, 25, 1);
    EXPECT_EQ(tree.years.at(2005).firstMonth, 12);
    EXPECT_EQ(tree.years.at(2005).lastMonth, 12);

    tree.record(2006, 10, 1, 10);
    tree.record(2006, 3, 1, 10);
    tree.record(2007, 3, 1, 10);
    tree.record(2007, 10, 1, 10);
    for (int y : {2006, 2007}) {
        EXPECT_EQ(tree.years.at(y).firstMonth, 3);
        EXPECT_EQ(tree.years.at(y).lastMonth, 10);
    }
}

TEST(CalendarCountsLookup, MissingNodesAndBadNumbers)
{
    CalendarCounts tree;
    tree.record(2001, 5, 3, 0);
    const CalendarYear& year = tree.years.at(2001);
    EXPECT_EQ(year.months.at(6), nullptr);
    EXPECT_EQ(year.months.at(5)->days.at(4), nullptr);
    EXPECT_THROW(tree.years.at(2002), std::out_of_range);
    EXPECT_EQ(tree.years.find(2002), nullptr);

    CalendarHours hours;
    EXPECT_EQ(hours.add(0)->plays, 1);
    EXPECT_EQ(hours.add(0), nullptr);
    EXPECT_THROW(hours.add(24), std::out_of_range);
    EXPECT_THROW(tree.record(2002, 1, 32, 0), std::out_of_range);
    EXPECT_EQ(tree.years.find(2002), nullptr); // nothing counted half-way
}

TEST(CalendarCountsOrder, FirstAppearanceOrderAndClear)
{
    CalendarCounts tree;
    tree.record(2002, 11, 20, 22);
    tree.record(2001, 4, 9, 8);
    tree.record(2002, 2, 5, 22);
    tree.record(2002, 11, 3, 7);
    tree.record(2002, 11, 20, 3);
    EXPECT_EQ(numbersOf(tree.years, &CalendarYear::year), (std::vector<int>{2002, 2001}));
    const CalendarYear& y = tree.years.at(2002);
    EXPECT_EQ(numbersOf(y.months, &CalendarMonth::month), (std::vector<int>{11, 2}));
    const CalendarMonth& m = *y.months.at(11);
    EXPECT_EQ(numbersOf(m.days, &CalendarDay::day), (std::vector<int>{20, 3}));
    EXPECT_EQ(numbersOf(m.days.at(20)->hours, &CalendarHour::hour), (std::vector<int>{22, 3}));

    tree.clear();
    EXPECT_EQ(tree.years.size(), 0u);
    tree.record(2003, 1, 1, 1);
    EXPECT_EQ(tree.years.begin()->year, 2003);
}

} // namespace
} // namespace tolvane
