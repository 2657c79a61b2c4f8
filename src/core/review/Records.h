#pragma once

#include "core/analysis/PlayList.h"
#include "core/insights/PlayRows.h"
#include "core/insights/SongView.h"
#include "core/log/DateValue.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// The songs of a timeline (rows in date order, as inDateOrder gives them).
struct TimelineSongs final {
    std::vector<std::uint32_t> numbers; // each play's song, as songNumbers gives them
    std::vector<std::string> titles; // by song: the title of its first play in file order
    std::vector<std::size_t> firstPlay; // by song: the timeline index of its first attempt
};

TimelineSongs timelineSongs(const PlayList& plays, const std::vector<TimedRow>& timeline);

// A play that raised its song's best: a new best score or best combo from the
// song's second attempt on, or the song's first full combo on any attempt.
struct RecordRow final {
    std::size_t row = 0; // 0-based data-list row
    std::int64_t seconds = 0; // the play's time, as the timeline holds it
    DateValue at = 0;
    std::uint32_t song = 0; // the song's number in the timeline
    std::string title; // the song's title, as the song view names it
    std::int32_t attempt = 0; // its attempt number in the song view
    std::int32_t score = 0;
    double maxCombo = 0; // as the data list shows it
    // The song's best score and best max combo over its earlier attempts;
    // none for a first full combo on the first attempt.
    std::optional<std::int32_t> previousScore;
    std::optional<double> previousCombo;
    bool bestScore = false; // the song view's marks, from the second attempt on
    bool bestCombo = false;
    bool firstFullCombo = false;
};

struct RecordsView final {
    std::vector<RecordRow> rows; // in date order; equal times keep file order
    // Records per month, from the month of the first play to that of the
    // last, months without a record included (plays: the month's records).
    std::vector<MonthPlays> perMonth;
};

// The records among rows (all rows, or a view period's share).
RecordsView buildRecordsView(const PlayList& plays, const RowList& rows);
// The same from a timeline already put in date order and its songs.
RecordsView buildRecordsView(const PlayList& plays, const std::vector<TimedRow>& timeline, const TimelineSongs& songs);

} // namespace tolvane
