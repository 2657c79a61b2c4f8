#include "core/analysis/SpanText.h"

#include <gtest/gtest.h>

#include <limits>

namespace tolvane {
namespace {

constexpr double kSecond = 1.0 / kSecondsPerDay;

TEST(SpanText, CountsCalendarStepsFrom1900)
{
    const DateValue d = makeDate(2001, 12, 17, 16, 21, 52);
    EXPECT_EQ(spanText(d, d), "00年 0ヶ月 0日0時間0分0秒");
    EXPECT_EQ(spanText(d, d + 31), "00年 1ヶ月 0日0時間0分0秒");
    EXPECT_EQ(spanText(d, d + 59), "00年 2ヶ月 0日0時間0分0秒"); // 1900 has no 29 February
    EXPECT_EQ(spanText(makeDate(2001, 3, 10, 21), makeDate(2002, 5, 12, 23, 30, 15)), "01年 2ヶ月 4日2時間30分15秒");
    EXPECT_EQ(spanText(d, d + 86399.6 * kSecond), "00年 0ヶ月 1日0時間0分0秒");
}

TEST(SpanText, NegativeZeroAndHugeSpans)
{
    const DateValue d = makeDate(2002, 1, 31, 9, 5, 7);
    EXPECT_EQ(spanText(d + 1 + 143 * 60 * kSecond, d), "99年 11ヶ月 29日21時間37分0秒");
    // A zero first date counts from 1899/12/30.
    EXPECT_EQ(spanText(0.0, makeDate(2002, 5, 12, 23, 30, 15)), "02年 4ヶ月 13日23時間30分15秒");
    EXPECT_EQ(spanText(makeDate(1, 1, 1), makeDate(9999, 12, 31, 23, 59, 59)), "98年 11ヶ月 29日23時間59分59秒");
    EXPECT_EQ(spanText(makeDate(9999, 12, 31), makeDate(1, 1, 1)), "01年 0ヶ月 2日0時間0分0秒");
    EXPECT_EQ(spanText(std::numeric_limits<double>::quiet_NaN(), 0.0), "00年 0ヶ月 0日0時間0分0秒");
    EXPECT_FALSE(spanText(0.0, -std::numeric_limits<double>::infinity()).empty());
}

TEST(HistoryText, SameCountWithoutBlanks)
{
    const DateValue d = makeDate(2001, 5, 3, 12);
    EXPECT_EQ(historyText(d, d), "00年0ヶ月0日0時間0分0秒");
    EXPECT_EQ(historyText(d, makeDate(2002, 7, 4, 18, 30, 15)), "01年2ヶ月3日6時間30分15秒");
}

} // namespace
} // namespace tolvane
