#include "core/log/DateValue.h"
#include "core/log/DateText.h"

#include <gtest/gtest.h>

using namespace tolvane;

TEST(DateValue, CountsDaysFromTheThirtiethOfDecember1899)
{
    EXPECT_EQ(serialDay(1899, 12, 30), 0);
    EXPECT_EQ(serialDay(1900, 1, 1), 2);
    EXPECT_EQ(serialDay(1900, 3, 1), 61); // 1900 was not a leap year
    EXPECT_EQ(serialDay(2001, 5, 3), 37014);
    EXPECT_EQ(civilDate(37014), (CivilDate{2001, 5, 3}));
    EXPECT_EQ(civilDate(-1), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(civilDate(serialDay(1, 1, 1)), (CivilDate{1, 1, 1}));
    EXPECT_EQ(civilDate(serialDay(9999, 12, 31)), (CivilDate{9999, 12, 31}));
}

TEST(DateValue, SplitsIntoPartsRoundedToTheSecond)
{
    const DateParts p = splitDate(makeDate(2002, 1, 31, 9, 5, 7));
    EXPECT_EQ(p.year, 2002);
    EXPECT_EQ(p.month, 1);
    EXPECT_EQ(p.day, 31);
    EXPECT_EQ(p.hour, 9);
    EXPECT_EQ(p.minute, 5);
    EXPECT_EQ(p.second, 7);
    EXPECT_EQ(p.weekday, 5); // a Thursday

    // Before the epoch the fraction still counts forward from midnight.
    const DateParts before = splitDate(-0.75);
    EXPECT_EQ(before.day, 29);
    EXPECT_EQ(before.hour, 6);

    // 23:59:59.6 rounds up into the next day.
    const DateParts rounded = splitDate(makeDate(2001, 12, 31) + 86399.6 / 86400);
    EXPECT_EQ(rounded.year, 2002);
    EXPECT_EQ(rounded.hour, 0);
}

TEST(DateValue, WeekdaysRunFromSundayOneToSaturdaySeven)
{
    EXPECT_EQ(weekdayOf(1899, 12, 30), 7);
    EXPECT_EQ(weekdayOf(1899, 12, 31), 1);
    EXPECT_EQ(weekdayOf(2001, 5, 3), 5);
    EXPECT_EQ(weekdayOf(2002, 1, 2), 4);
    EXPECT_EQ(weekdayOf(2001, 12, 30), 1);
    EXPECT_EQ(weekdayOf(1800, 1, 1), 4); // a Wednesday, before the epoch
}

TEST(DateValue, MonthStepsClampTheDayAndKeepTheTime)
{
    EXPECT_EQ(addMonths(CivilDate{2001, 1, 31}, 1), (CivilDate{2001, 2, 28}));
    EXPECT_EQ(addMonths(CivilDate{2000, 1, 31}, 1), (CivilDate{2000, 2, 29}));
    EXPECT_EQ(addMonths(CivilDate{2001, 12, 15}, 1), (CivilDate{2002, 1, 15}));
    EXPECT_EQ(addMonths(CivilDate{2001, 3, 31}, -1), (CivilDate{2001, 2, 28}));
    EXPECT_EQ(addMonths(CivilDate{2001, 1, 10}, -13), (CivilDate{1999, 12, 10}));
    EXPECT_EQ(addMonths(CivilDate{2001, 11, 30}, 2), (CivilDate{2002, 1, 30}));
    EXPECT_EQ(addMonths(makeDate(2001, 1, 31, 12), 1), makeDate(2001, 2, 28, 12));
}

TEST(DateValue, DayArithmeticCrossesMonthAndYearEnds)
{
    EXPECT_EQ(addDays(makeDate(2001, 12, 31), 1), makeDate(2002, 1, 1));
    EXPECT_EQ(addDays(makeDate(2000, 3, 1), -1), makeDate(2000, 2, 29));
    EXPECT_EQ(daysBetween(makeDate(2001, 3, 1), makeDate(2001, 4, 1)), 31);
    EXPECT_EQ(daysBetween(makeDate(2001, 4, 1), makeDate(2001, 3, 1)), -31);
    // Whole days count on the dates, not on the hours between them.
    EXPECT_EQ(daysBetween(makeDate(2001, 3, 1, 23), makeDate(2001, 3, 2, 1)), 1);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(2004, 2), 29);
    EXPECT_EQ(daysInMonth(2001, 13), 0);
}

TEST(DateText, WritesDatesWithTheTimeOnlyWhenThereIsOne)
{
    EXPECT_EQ(dateTimeText(0), "0:00:00");
    EXPECT_EQ(dateTimeText(makeDate(2001, 5, 3)), "2001/05/03");
    EXPECT_EQ(dateTimeText(makeDate(2002, 1, 31, 9, 5, 7)), "2002/01/31 9:05:07");
    EXPECT_EQ(dateTimeText(makeDate(2001, 12, 31, 23, 0, 0)), "2001/12/31 23:00:00");
    // Only the zero date itself means "not set"; other times on its day show the date.
    EXPECT_EQ(dateTimeText(0.25), "1899/12/30 6:00:00");
    EXPECT_EQ(shortDateText(makeDate(2001, 12, 31, 18)), "2001/12/31");
    EXPECT_EQ(shortDateText(1, 1, 1), "0001/01/01");
}

TEST(DateText, ReadsDatesWrittenYearMonthDay)
{
    EXPECT_EQ(parseDateText("2001/05/03"), serialDay(2001, 5, 3));
    EXPECT_EQ(parseDateText("2002/1/4"), serialDay(2002, 1, 4));
    EXPECT_EQ(parseDateText(" 2001-5-3  "), serialDay(2001, 5, 3));
    EXPECT_EQ(parseDateText("2001/05-03"), serialDay(2001, 5, 3));
    EXPECT_EQ(parseDateText("2000/02/29"), serialDay(2000, 2, 29));
    EXPECT_EQ(parseDateText("0001/01/01"), serialDay(1, 1, 1));
}

TEST(DateText, RefusesDatesThatAreNotReal)
{
    for (const char* text : {"", "2001", "01/05/03", "20001/05/03", "0000/01/01", "2001/13/01", "2001/0/01",
             "2001/02/29", "2001/04/31", "2001/005/03", "2001/5/3x", "2001.05.03", "\t2001/05/03",
             "2001/05/03 12:00:00", "２００１/05/03", "2001//05/03"}) {
        EXPECT_FALSE(parseDateText(text)) << text;
    }
}

TEST(DateText, ReadsTimesOnATwentyFourHourClock)
{
    EXPECT_EQ(parseTimeText("9:05:07"), 9 * 3600 + 5 * 60 + 7);
    EXPECT_EQ(parseTimeText("23:59"), 23 * 3600 + 59 * 60);
    EXPECT_EQ(parseTimeText(" 0:0:0 "), 0);
    for (const char* text :
        {"", "12", "24:00", "12:60", "12:00:60", "12:00:", "1:2:3:4", "123:00", "12:000", "12:00 PM", "\t12:00"}) {
        EXPECT_FALSE(parseTimeText(text)) << text;
    }
}

TEST(DateText, ReadsADateWithAnOptionalTime)
{
    EXPECT_EQ(parseDateTimeText("2001/12/31"), makeDate(2001, 12, 31));
    EXPECT_EQ(parseDateTimeText("2001/12/31 12:00:00"), makeDate(2001, 12, 31, 12));
    EXPECT_EQ(parseDateTimeText(" 2001/12/31  6:30 "), makeDate(2001, 12, 31, 6, 30));
    EXPECT_FALSE(parseDateTimeText("2001/12/31 noon"));
    EXPECT_FALSE(parseDateTimeText("12:00:00"));
}
