#pragma once

#include "core/log/DateValue.h"

#include <cstdint>

namespace tolvane {

// The load filters. Sides: 0 = 1P, 1 = 2P, 2 = 1P+2P; a side stays set while
// its flag is off. A zero Mintime or Maxtime means no bound on that side.
struct Filter {
    bool IgnoreAutoplay = false;
    std::int16_t optIgnoreAuto = 0;
    bool IgnoreScrach = false;
    std::int16_t optIgnoreScr = 0;
    bool ScoreFilter = false;
    std::int32_t MinScore = 0;
    bool SpanFilter = false;
    DateValue Mintime = 0;
    DateValue Maxtime = 0;
};

} // namespace tolvane
