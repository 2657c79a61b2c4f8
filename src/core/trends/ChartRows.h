#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// A chart row's count of plays, or none: a row without a value has no bar
// and shows an empty value, while a count of 0 shows "0".
using ChartValue = std::optional<std::int64_t>;

// One bar of a chart.
struct ChartRow final {
    std::string label;
    ChartValue value;

    friend bool operator==(const ChartRow&, const ChartRow&) = default;
};

using ChartRows = std::vector<ChartRow>;

// A value as the charts and reports print it: the count in plain digits, or
// "" for no value.
inline std::string chartValueText(const ChartValue& value)
{
    return value ? std::to_string(*value) : std::string{};
}

// Weekday names as the charts show them, Sunday first.
inline constexpr std::array<std::string_view, 7> kWeekdayNames{
    "日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};

// weekday: 1 = Sunday .. 7 = Saturday; anything else gives "".
constexpr std::string_view weekdayName(int weekday) noexcept
{
    return weekday >= 1 && weekday <= 7 ? kWeekdayNames[static_cast<std::size_t>(weekday - 1)] : std::string_view{};
}

} // namespace tolvane
