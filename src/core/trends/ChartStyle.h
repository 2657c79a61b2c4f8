#pragma once

#include "core/trends/TrendCharts.h"

#include <array>
#include <cstdint>

namespace tolvane {

// The bar styles of the charts as the settings hold them, one entry a chart
// in the order of kTrendChartCaptions (entry 0 is stored as Graph1...).
// Colours pack red in bits 0..7, green in 8..15, blue in 16..23.
struct GraphSettings final {
    PerChart<double> Color = forEachChart(65536.0);
    PerChart<std::int32_t> PatternColor = forEachChart<std::int32_t>(65536);
    PerChart<std::int16_t> Pattern = forEachChart<std::int16_t>(-1); // -1 none, 0..17 a pattern
};

// How a chart's bars are painted.
enum class BarFill {
    None, // not painted: only their outline shows
    Pattern, // the fill colour with the pattern drawn over it in the pattern colour
};

// The brush a chart's bars get.
struct BarStyle final {
    BarFill style = BarFill::None;
    int index = 0; // pattern number; kept as is while the bars are not painted
    std::array<int, 3> fill{}; // red, green, blue 0..255
    std::array<int, 3> pattern{}; // red, green, blue 0..255

    friend bool operator==(const BarStyle&, const BarStyle&) = default;
};

using BarStyles = PerChart<BarStyle>;

// Parts of a packed colour; the top byte is ignored.
std::int16_t redOf(std::int32_t color) noexcept;
std::int16_t greenOf(std::int32_t color) noexcept;
std::int16_t blueOf(std::int32_t color) noexcept;

// A Color setting as a packed colour: rounded half to even, then taken
// modulo 2^32, so 2147483653 still gives red 5. NaN and infinities give 0.
std::int32_t colorFromSetting(double value) noexcept;

// Applies each chart's settings to its bar style. Both colours are always
// set. Pattern -1 leaves the bars unpainted and keeps the last index; any
// other value, even one outside 0..17, becomes the index of a patterned fill,
// for the window to draw or not.
void applyBarStyles(const GraphSettings& settings, BarStyles& styles);

} // namespace tolvane
