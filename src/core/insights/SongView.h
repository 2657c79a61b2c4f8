#pragma once

#include "core/analysis/PlayList.h"
#include "core/insights/PlayRows.h"
#include "core/log/DateValue.h"
#include "core/rankings/RankingTables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// One attempt at a song, with the marks it earned.
struct SongAttempt final {
    std::int32_t attempt = 0; // 1, 2, 3, ... in date order
    std::size_t row = 0; // 0-based data-list row
    DateValue at = 0;
    std::int32_t score = 0;
    double maxCombo = 0; // as the data list shows it
    double totalNotes = 0; // as the data list shows it
    // Great, Good, Bad, Poor; nullopt where the log's line lacks the label.
    std::array<std::optional<double>, 4> judgements;
    int autoplay = 0;
    int autoScratch = 0;
    bool newBestScore = false; // above every earlier attempt's score, and above 0
    bool newBestCombo = false; // the same for the max combo rounded as the rankings round it
    bool fullCombo = false; // rounded max combo equals total notes, above 0
};

struct FirstFullCombo final {
    std::int32_t attempt = 0;
    DateValue at = 0;
    std::int64_t days = 0; // whole days from the first attempt's day
};

struct MonthPlays final {
    int year = 0;
    int month = 0;
    std::int32_t plays = 0;
};

// Every attempt at one song and its summary.
struct SongView final {
    std::string title; // the title of the song's first play in file order
    std::int32_t plays = 0;
    DateValue first = 0;
    DateValue last = 0;
    // Exactly as the "スコア" and "MaxCombo" rankings hold them; a date is
    // nullopt when the ranking never recorded one.
    std::int32_t bestScore = 0;
    std::optional<DateValue> bestScoreAt;
    std::int32_t bestCombo = 0;
    std::optional<DateValue> bestComboAt;
    bool fullCombo = false; // the ranking's flag
    std::optional<FirstFullCombo> firstFullCombo; // from the attempts' marks
    std::vector<MonthPlays> perMonth; // first play's month to last's, empty months included
    std::vector<SongAttempt> attempts;
};

// A song's best score and best combo so far, over its attempts in date order,
// and the marks each next attempt earns against them.
class SongBests final {
public:
    struct Marks final {
        bool bestScore = false; // above every earlier attempt's score, and above 0
        bool bestCombo = false; // the same for the max combo rounded as the rankings round it
        bool fullCombo = false; // rounded max combo equals total notes, above 0
    };

    // The marks of the next attempt, its max combo and total notes as the
    // data list shows them; the attempt then counts among the earlier ones.
    Marks take(std::int32_t score, double maxCombo, double totalNotes);

private:
    std::int32_t score_ = 0;
    double combo_ = 0;
};

// The song whose whole title is title, compared as ranking keys are (letter
// case ignored), among rows; rankings must be built from the same rows.
// nullopt when no such song.
std::optional<SongView> buildSongView(
    const PlayList& plays, const RowList& rows, const RankingTables& rankings, std::string_view title);

// For every play of a timeline, a number for its song (0, 1, 2, ... in order of
// first appearance), songs told apart as the title ranking tells them apart.
std::vector<std::uint32_t> songNumbers(const PlayList& plays, const std::vector<TimedRow>& timeline);

// For every play in date order (as inDateOrder gives them), whether it set a
// new best score for its song: the song view's best-score mark. songs: the
// timeline's songNumbers.
std::vector<std::uint8_t> newBestScoreFlags(
    const PlayList& plays, const std::vector<TimedRow>& timeline, const std::vector<std::uint32_t>& songs);

} // namespace tolvane
