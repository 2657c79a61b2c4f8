#include "core/trends/ChartStyle.h"

#include <cmath>

namespace tolvane {

namespace {

std::int16_t byteOf(std::int32_t color, int shift) noexcept
{
    return static_cast<std::int16_t>((static_cast<std::uint32_t>(color) >> shift) & 0xFFu);
}

std::array<int, 3> rgbOf(std::int32_t color) noexcept
{
    return {redOf(color), greenOf(color), blueOf(color)};
}

} // namespace

std::int16_t redOf(std::int32_t color) noexcept
{
    return byteOf(color, 0);
}

std::int16_t greenOf(std::int32_t color) noexcept
{
    return byteOf(color, 8);
}

std::int16_t blueOf(std::int32_t color) noexcept
{
    return byteOf(color, 16);
}

std::int32_t colorFromSetting(double value) noexcept
{
    if (!std::isfinite(value))
        return 0;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    constexpr double kWrap = 4294967296.0;
    double wrapped = std::fmod(whole, kWrap);
    if (wrapped < 0)
        wrapped += kWrap;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wrapped));
}

void applyBarStyles(const GraphSettings& settings, BarStyles& styles)
{
    for (std::size_t i = 0; i < styles.size(); ++i) {
        BarStyle& style = styles[i];
        style.fill = rgbOf(colorFromSetting(settings.Color[i]));
        style.pattern = rgbOf(settings.PatternColor[i]);
        if (settings.Pattern[i] == -1) {
            style.style = BarFill::None;
        } else {
            style.style = BarFill::Pattern;
            style.index = settings.Pattern[i];
        }
    }
}

} // namespace tolvane
