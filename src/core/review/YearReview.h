#pragma once

#include "core/analysis/PlayList.h"
#include "core/insights/PlayCalendar.h"
#include "core/insights/PlayRows.h"
#include "core/insights/Sessions.h"
#include "core/review/Records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// The figures of a year that its review compares with the year before.
struct YearFigures final {
    int year = 0;
    std::int32_t plays = 0;
    std::int32_t daysPlayed = 0;
    std::int32_t sessions = 0; // the sessions that start in the year
    std::int64_t minutes = 0; // their minutes summed, each whole session's
};

struct NamedPlays final {
    std::string name;
    std::int32_t plays = 0;
};

// One calendar year of plays.
struct YearReview final {
    YearFigures figures;
    std::int32_t songs = 0; // distinct keys among the year's plays, by the rankings' key rules
    std::int32_t newSongs = 0; // songs whose first attempt lies in the year
    std::int32_t artists = 0;
    std::int32_t genres = 0;
    std::int32_t records = 0; // rows of the records view in the year
    std::int32_t firstFullCombos = 0;
    // At most ten each, most plays first; a tie goes to the key played first in the year.
    std::vector<NamedPlays> topSongs;
    std::vector<NamedPlays> topArtists;
    std::vector<NamedPlays> topGenres;
    std::array<std::int32_t, 12> perMonth{}; // January first
    std::array<std::int32_t, 7> perWeekday{}; // Sunday first
    std::array<std::int32_t, 24> perHour{}; // hour 0 first
    DayPlays busiestDay; // the earliest of the busiest
    DayStreak longestStreak; // of the year's days only; the earliest of the longest
    std::optional<PlaySession> longestSession; // of the year's sessions; none when none starts in it
    std::optional<YearFigures> previousYear; // the figures 0 when it has no play; none for year 1
};

// What every year's review is made from, worked out once for a set of rows
// (all of them, or a view period's share), so that choosing another year
// costs only that year's plays. It keeps no reference to the play list.
class YearReviewSource final {
public:
    YearReviewSource() = default;
    YearReviewSource(const PlayList& plays, const RowList& rows, int gapMinutes);

    // The years with plays, in order.
    const std::vector<int>& years() const { return years_; }
    // The year of the last play in date order; none without plays.
    std::optional<int> lastYear() const;
    // The review of a year; none when the year has no play.
    std::optional<YearReview> review(int year) const;
    // The figures of any year, 0 for a year without plays.
    YearFigures figures(int year) const;

    const RecordsView& records() const { return records_; }
    const std::vector<PlaySession>& sessions() const { return sessions_; }

private:
    struct Keys {
        std::vector<std::uint32_t> numbers; // by timeline play
        std::vector<std::string> names; // by key
    };
    struct Range {
        std::size_t from = 0;
        std::size_t to = 0;
    };

    Range playsOf(int year) const;
    Range sessionsOf(int year) const;
    // The ten most played keys of a range of plays; distinct receives how
    // many keys the range holds, touched (when given) the keys in the order
    // of their first play in the range.
    static std::vector<NamedPlays> top(const std::vector<std::uint32_t>& numbers, const std::vector<std::string>& names,
        Range plays, std::int32_t& distinct, std::vector<std::uint32_t>* touched = nullptr);
    static Keys keysOf(const PlayList& plays, const std::vector<TimedRow>& timeline, bool artist);

    std::vector<std::int64_t> seconds_; // the timeline's times
    TimelineSongs songs_;
    Keys artists_;
    Keys genres_;
    PlayCalendar calendar_;
    std::vector<PlaySession> sessions_;
    RecordsView records_;
    std::vector<int> years_;
};

// The review of one year of rows; none when the year has no play.
std::optional<YearReview> buildYearReview(const PlayList& plays, const RowList& rows, int year, int gapMinutes);

} // namespace tolvane
