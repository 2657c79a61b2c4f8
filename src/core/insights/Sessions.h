#pragma once

#include "core/analysis/PlayList.h"
#include "core/insights/PlayCalendar.h"
#include "core/insights/PlayRows.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

inline constexpr int kDefaultSessionGap = 30; // minutes
inline constexpr int kMinSessionGap = 1;
inline constexpr int kMaxSessionGap = 1440;

// A run of plays with no gap over the session gap between two of them.
struct PlaySession final {
    std::int64_t start = 0; // seconds since 1899-12-30, the first play's time
    std::int64_t end = 0; // the last play's time
    std::int64_t minutes = 0; // whole minutes from start to end, rounded down
    std::int32_t plays = 0;
    std::int32_t songs = 0; // distinct songs, as the title ranking tells them apart
    std::int32_t newBests = 0; // plays that set a new best score for their song
    std::size_t firstPlay = 0; // index of its first play in the timeline
};

// The sessions of a timeline (rows in date order, as inDateOrder gives them):
// a new one starts at the first play and at every play more than gapMinutes
// after the play before it. gapMinutes is taken as it is; callers check 1..1440.
std::vector<PlaySession> buildSessions(const PlayList& plays, const std::vector<TimedRow>& timeline, int gapMinutes);

struct DayStreak final {
    std::int32_t days = 0;
    std::int64_t from = 0; // serial days
    std::int64_t to = 0;
};

struct PlayStreaks final {
    DayStreak longest; // the earliest of the longest
    DayStreak current; // the one that ends on the day of the last play
    DayPlays busiestDay; // the earliest of the busiest
    std::optional<PlaySession> longestSession; // exact lengths; the earliest wins a tie
    std::int64_t totalMinutes = 0; // the sessions' minutes summed
    std::int32_t daysPlayed = 0;
};

// Streaks and figures from the calendar and the sessions of the same plays.
PlayStreaks buildStreaks(const PlayCalendar& calendar, const std::vector<PlaySession>& sessions);

} // namespace tolvane
