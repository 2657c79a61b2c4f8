#pragma once

#include "core/log/DateValue.h"
#include "core/rankings/RankTable.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvane {

struct PlayRecord;

struct RankedPlay {
    std::string_view title;
    std::string_view artist;
    std::string_view genre;
    DateValue date = 0.0;
    std::int32_t score = 0;
    std::int32_t maxCombo = 0;
    double totalNotes = 0.0;
};

// A play as the rankings take it, with its numbers as the data list shows
// them; none when its max combo does not fit a 32-bit integer.
std::optional<RankedPlay> rankedPlay(const PlayRecord& play);

// Plays summed up by song title, by artist and by genre.
class RankingTables final {
public:
    RankTable songs;
    RankTable artists;
    RankTable genres;

    void record(const RankedPlay& play);
    void clear() noexcept;
};

} // namespace tolvane
