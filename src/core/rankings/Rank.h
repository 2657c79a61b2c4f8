#pragma once

#include "core/log/DateValue.h"

#include <cstdint>
#include <string>

namespace tolvane {

// What the plays recorded under one key of a ranking table add up to. Which
// fields a table fills depends on the table; the rest keep their defaults.
struct Rank final {
    std::int32_t plays = 0;
    std::string title;
    std::string genre;
    std::string artist;
    std::int32_t maxCombo = 0;
    DateValue lastPlayed = 0.0;
    DateValue firstPlayed = 0.0;
    std::int32_t score = 0;
    std::string key; // in the spelling it was first filed under
    std::int32_t number = 0; // the table's creation count when it was made
    bool fullCombo = false; // a best combo once equalled the song's notes
    DateValue maxComboDate = 0.0;
    DateValue scoreDate = 0.0;
};

} // namespace tolvane
