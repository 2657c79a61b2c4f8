#pragma once

#include <array>
#include <cstdint>

namespace tolvane {

// Bar styles of charts 1..6 as the settings hold them; element 0 is unused.
// Colours pack red in bits 0..7, green in 8..15, blue in 16..23.
struct GraphSettings final {
    std::array<double, 7> Color{65536, 65536, 65536, 65536, 65536, 65536, 65536};
    std::array<std::int32_t, 7> PatternColor{65536, 65536, 65536, 65536, 65536, 65536, 65536};
    std::array<std::int16_t, 7> Pattern{-1, -1, -1, -1, -1, -1, -1}; // -1 none, 0..17 a pattern
};

inline constexpr int VtBrushStyleNull = 0; // bars not painted
inline constexpr int VtBrushStylePattern = 2; // pattern in the pattern colour over the fill

// The brush a chart's bars get.
struct BarStyle final {
    int style = VtBrushStyleNull;
    int index = 0; // pattern number; kept as is under the null style
    std::array<int, 3> fill{}; // red, green, blue 0..255
    std::array<int, 3> pattern{}; // red, green, blue 0..255

    friend bool operator==(const BarStyle&, const BarStyle&) = default;
};

// Parts of a packed colour; the top byte is ignored.
std::int16_t RedFromRGB(std::int32_t color) noexcept;
std::int16_t GreenFromRGB(std::int32_t color) noexcept;
std::int16_t BlueFromRGB(std::int32_t color) noexcept;

// A Color setting as a packed colour: rounded half to even, then taken
// modulo 2^32, so 2147483653 still gives red 5. NaN and infinities give 0.
std::int32_t colorFromSetting(double value) noexcept;

// Applies the settings of charts 1..6 to styles[1..6]; styles[0] is left
// alone. Both colours are always set. Pattern -1 gives the null style and
// keeps the last index; any other value, even one outside 0..17, becomes the
// index under the pattern style, for the window to draw or not.
void ChartColorset(const GraphSettings& settings, std::array<BarStyle, 7>& styles);

} // namespace tolvane
