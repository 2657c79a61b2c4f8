#include "core/trends/ChartStyle.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Rgb = std::array<int, 3>;

Rgb rgb(std::int32_t color)
{
    return {redOf(color), greenOf(color), blueOf(color)};
}

TEST(ChartColours, SettingSplitsIntoBytes)
{
    EXPECT_EQ(rgb(16711680), (Rgb{0, 0, 255}));
    EXPECT_EQ(rgb(255), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgb(static_cast<std::int32_t>(0x80000005u)), (Rgb{5, 0, 0}));
    EXPECT_EQ(rgb(colorFromSetting(2147483653.0)), (Rgb{5, 0, 0}));
    EXPECT_EQ(rgb(colorFromSetting(-1.0)), (Rgb{255, 255, 255}));
    EXPECT_EQ(colorFromSetting(2.5), 2);
    EXPECT_EQ(colorFromSetting(3.5), 4);
    EXPECT_EQ(colorFromSetting(-2.5), -2);
}

TEST(BarStylesTest, PatternsAndColoursPerChart)
{
    BarStyles styles{};
    GraphSettings settings;
    applyBarStyles(settings, styles);
    for (const BarStyle& style : styles) {
        EXPECT_EQ(style.fill, (Rgb{0, 0, 1}));
        EXPECT_EQ(style.pattern, (Rgb{0, 0, 1}));
        EXPECT_EQ(style.style, BarFill::None);
    }

    // Entry 4 is the fifth chart, stored as Graph5.
    settings.Color[4] = 255;
    settings.PatternColor[4] = 16711680;
    settings.Pattern[4] = 3;
    settings.Pattern[1] = 42;
    applyBarStyles(settings, styles);
    EXPECT_EQ(styles[4], (BarStyle{BarFill::Pattern, 3, {255, 0, 0}, {0, 0, 255}}));
    EXPECT_EQ(styles[1].index, 42);
    EXPECT_EQ(styles[3], styles[5]);

    settings.Pattern[4] = -1;
    applyBarStyles(settings, styles);
    EXPECT_EQ(styles[4].style, BarFill::None);
    EXPECT_EQ(styles[4].index, 3);
}

} // namespace
} // namespace tolvane
