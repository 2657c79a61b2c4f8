#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// One bar of a chart. An empty value means no value: the row has no bar.
struct ChartRow final {
    std::string label;
    std::string value;

    friend bool operator==(const ChartRow&, const ChartRow&) = default;
};

using ChartRows = std::vector<ChartRow>;

// Weekday names as the charts show them, Sunday first.
inline constexpr std::array<std::string_view, 7> kWeekdayNames{
    "日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};

// weekday: 1 = Sunday .. 7 = Saturday; anything else gives "".
constexpr std::string_view weekdayName(int weekday) noexcept
{
    return weekday >= 1 && weekday <= 7 ? kWeekdayNames[static_cast<std::size_t>(weekday - 1)] : std::string_view{};
}

} // namespace tolvane
