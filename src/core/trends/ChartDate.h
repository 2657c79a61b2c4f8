#pragma once

#include <cstdint>

namespace tolvane {

// A date the charts are positioned on. Fields are read and written as is,
// without checks.
struct ChartDate final {
    std::int16_t year = 0;
    std::int16_t month = 0;
    std::int16_t day = 0;
    std::int16_t weekday = 0; // 1 = Sunday .. 7 = Saturday

    friend bool operator==(const ChartDate&, const ChartDate&) = default;
};

} // namespace tolvane
