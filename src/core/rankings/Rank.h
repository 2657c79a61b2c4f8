#pragma once

#include "core/log/DateValue.h"

#include <cstdint>
#include <string>

namespace tolvane {

// What the plays recorded under one key of a ranking table add up to. Which
// fields a table fills depends on the table; the rest keep their defaults.
struct Rank final {
    std::int32_t Counter = 0;
    std::string Title;
    std::string Genre;
    std::string Artist;
    std::int16_t BPM = 0;
    std::int16_t Totalnotes = 0;
    std::int32_t MaxCombo = 0;
    DateValue Recent = 0.0;
    DateValue FirstTime = 0.0;
    std::int16_t Level = 0;
    std::int32_t Score = 0;
    std::string Key;
    std::int32_t Index = 0;
    bool FullCombo = false;
    DateValue MaxComboDate = 0.0;
    DateValue ScoreDate = 0.0;
};

} // namespace tolvane
