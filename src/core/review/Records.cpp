#include "core/review/Records.h"

#include "core/log/NumberText.h"

#include <algorithm>
#include <limits>

namespace tolvane {

TimelineSongs timelineSongs(const PlayList& plays, const std::vector<TimedRow>& timeline)
{
    TimelineSongs songs;
    songs.numbers = songNumbers(plays, timeline);
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> firstRow;
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        const std::uint32_t song = songs.numbers[i];
        if (song >= firstRow.size()) {
            firstRow.resize(song + 1, kNone);
            songs.firstPlay.resize(song + 1, i);
        }
        firstRow[song] = std::min(firstRow[song], timeline[i].row);
    }
    songs.titles.reserve(firstRow.size());
    for (std::size_t row : firstRow)
        songs.titles.emplace_back(plays.row(row).title);
    return songs;
}

RecordsView buildRecordsView(const PlayList& plays, const RowList& rows)
{
    const std::vector<TimedRow> timeline = inDateOrder(plays, rows);
    return buildRecordsView(plays, timeline, timelineSongs(plays, timeline));
}

RecordsView buildRecordsView(const PlayList& plays, const std::vector<TimedRow>& timeline, const TimelineSongs& songs)
{
    struct SongState {
        SongBests bests;
        std::int32_t attempts = 0;
        std::int32_t bestScore = 0; // over the attempts so far, as the log holds them
        double bestCombo = 0;
        bool fullCombo = false;
    };
    std::vector<SongState> state(songs.titles.size());
    RecordsView view;
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        const PlayRecord& p = plays.row(timeline[i].row);
        SongState& s = state[songs.numbers[i]];
        const double combo = shownValue(p.maxCombo);
        const SongBests::Marks marks = s.bests.take(p.score, combo, shownValue(p.totalNotes));
        const bool earlier = s.attempts > 0;
        const bool firstFullCombo = marks.fullCombo && !s.fullCombo;
        if ((earlier && (marks.bestScore || marks.bestCombo)) || firstFullCombo) {
            RecordRow& r = view.rows.emplace_back();
            r.row = timeline[i].row;
            r.seconds = timeline[i].seconds;
            r.at = p.date;
            r.song = songs.numbers[i];
            r.title = songs.titles[r.song];
            r.attempt = s.attempts + 1;
            r.score = p.score;
            r.maxCombo = combo;
            if (earlier) {
                r.previousScore = s.bestScore;
                r.previousCombo = s.bestCombo;
            }
            r.bestScore = earlier && marks.bestScore;
            r.bestCombo = earlier && marks.bestCombo;
            r.firstFullCombo = firstFullCombo;
        }
        s.bestScore = earlier ? std::max(s.bestScore, p.score) : p.score;
        s.bestCombo = earlier ? std::max(s.bestCombo, combo) : combo;
        s.fullCombo = s.fullCombo || marks.fullCombo;
        ++s.attempts;
    }

    if (timeline.empty())
        return view;
    const CivilDate from = civilDate(timeline.front().day());
    const CivilDate to = civilDate(timeline.back().day());
    const int months = (to.year - from.year) * 12 + (to.month - from.month) + 1;
    view.perMonth.reserve(static_cast<std::size_t>(months));
    for (int m = 0; m < months; ++m) {
        const CivilDate d = addMonths(CivilDate{from.year, from.month, 1}, m);
        view.perMonth.push_back({d.year, d.month, 0});
    }
    for (const RecordRow& r : view.rows) {
        const CivilDate d = civilDate(TimedRow{r.seconds, r.row}.day());
        ++view.perMonth[static_cast<std::size_t>((d.year - from.year) * 12 + (d.month - from.month))].plays;
    }
    return view;
}

} // namespace tolvane
