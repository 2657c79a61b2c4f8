// The view period's presets: which days they keep, counted back from the
// day of the last play.
#include "core/analysis/PeriodView.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tolvane;

namespace {

// The first and last day (as y*10000+m*100+d) a span keeps, of the days
// from 0001/01/01 through 9999/12/31; the last is 0 for no upper bound.
std::pair<int, int> keptDays(ViewSpan span)
{
    const auto ymd = [](DateValue v) {
        const CivilDate c = civilDate(static_cast<std::int64_t>(std::floor(v)));
        return c.year * 10000 + c.month * 100 + c.day;
    };
    const DateValue first = span.from == 0 ? makeDate(1, 1, 1) : std::ceil(span.from);
    return {ymd(first), span.to == 0 ? 0 : ymd(span.to)};
}

} // namespace

TEST(PeriodPresetTest, CountBackFromTheLastPlaysDay)
{
    const DateValue leapDay = makeDate(2024, 2, 29);
    EXPECT_TRUE(presetSpan(PeriodPreset::All, leapDay).isWhole());
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::ThisYear, leapDay)), std::pair(20240101, 0));
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::Last12Months, leapDay)), std::pair(20230301, 0));
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::Last12Months, makeDate(2023, 3, 15))), std::pair(20220316, 0));
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::Last30Days, makeDate(2024, 3, 1))), std::pair(20240201, 0));
    // A custom span keeps whole days at both ends.
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::Custom, 0, makeDate(2001, 5, 3, 18), makeDate(2001, 6, 1, 6))),
        std::pair(20010503, 20010601));
    EXPECT_TRUE(presetSpan(PeriodPreset::Custom, leapDay).isWhole());

    // Around the calendar's ends, and on the zero date, which stands for "no bound" when stored.
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::Last12Months, makeDate(1, 6, 1))), std::pair(10101, 0));
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::Last30Days, makeDate(1, 1, 10))), std::pair(10101, 0));
    EXPECT_EQ(keptDays(presetSpan(PeriodPreset::ThisYear, makeDate(9999, 12, 31))), std::pair(99990101, 0));
    const ViewSpan zero = presetSpan(PeriodPreset::Last30Days, makeDate(1900, 1, 28));
    EXPECT_FALSE(zero.isWhole());
    EXPECT_EQ(keptDays(zero), std::pair(18991230, 0));
}
