#pragma once

#include <cstdint>

namespace tolvane {

// A date the charts are positioned on. Fields are read and written as is,
// without checks.
struct UsrDate final {
    std::int16_t Year = 0;
    std::int16_t Month = 0;
    std::int16_t Day = 0;
    std::int16_t Youbi = 0; // 1 = Sunday .. 7 = Saturday

    friend bool operator==(const UsrDate&, const UsrDate&) = default;
};

} // namespace tolvane
