#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tolvane {

// The trend charts' captions in tab order, which is also the order the
// settings number their bar styles in (Graph1, Graph2, ...): the period
// chart, then plays per year, month, day, weekday and hour. Everything sized
// per chart takes its size from here, so another chart is one more entry.
inline constexpr std::string_view kTrendChartCaptions[] = {"総合", "年別", "月別", "日別", "曜日別", "時間帯別"};

inline constexpr std::size_t kTrendChartCount = std::size(kTrendChartCaptions);

// One value per chart, every chart starting from the same one.
template <typename T> using PerChart = std::array<T, kTrendChartCount>;

template <typename T> constexpr PerChart<T> forEachChart(T value)
{
    PerChart<T> values{};
    values.fill(value);
    return values;
}

} // namespace tolvane
