#include "core/trends/ChartStyle.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Rgb = std::array<int, 3>;

Rgb rgb(std::int32_t color)
{
    return {RedFromRGB(color), GreenFromRGB(color), BlueFromRGB(color)};
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

TEST(ChartColorsetTest, PatternsAndColoursPerChart)
{
    std::array<BarStyle, 7> styles{};
    styles[0].index = 9;
    GraphSettings settings;
    ChartColorset(settings, styles);
    for (std::size_t i = 1; i <= 6; ++i) {
        EXPECT_EQ(styles[i].fill, (Rgb{0, 0, 1}));
        EXPECT_EQ(styles[i].pattern, (Rgb{0, 0, 1}));
        EXPECT_EQ(styles[i].style, VtBrushStyleNull);
    }
    EXPECT_EQ(styles[0].index, 9);

    settings.Color[5] = 255;
    settings.PatternColor[5] = 16711680;
    settings.Pattern[5] = 3;
    settings.Pattern[2] = 42;
    ChartColorset(settings, styles);
    EXPECT_EQ(styles[5], (BarStyle{VtBrushStylePattern, 3, {255, 0, 0}, {0, 0, 255}}));
    EXPECT_EQ(styles[2].index, 42);
    EXPECT_EQ(styles[4], styles[6]);

    settings.Pattern[5] = -1;
    ChartColorset(settings, styles);
    EXPECT_EQ(styles[5].style, VtBrushStyleNull);
    EXPECT_EQ(styles[5].index, 3);
}

} // namespace
} // namespace tolvane
