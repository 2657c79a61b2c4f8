#include "core/insights/SongView.h"

#include "core/log/NumberText.h"
#include "core/log/NumericValue.h"
#include "core/rankings/KeyFold.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tolvane {

SongBests::Marks SongBests::take(std::int32_t score, double maxCombo, double totalNotes)
{
    // The rankings compare the max combo rounded to a whole number.
    const double combo = roundHalfEven(maxCombo);
    Marks marks;
    marks.bestScore = score > score_;
    score_ = std::max(score_, score);
    marks.bestCombo = combo > combo_;
    combo_ = std::max(combo_, combo);
    marks.fullCombo = combo > 0 && combo == totalNotes;
    return marks;
}

std::optional<SongView> buildSongView(
    const PlayList& plays, const RowList& rows, const RankingTables& rankings, std::string_view title)
{
    const Rank* rank = rankings.songs.find(title);
    if (!rank)
        return std::nullopt;

    RowList songRows;
    for (std::size_t row : rows) {
        if (sameKey(plays.row(row).title, rank->key))
            songRows.push_back(row);
    }
    if (songRows.empty())
        return std::nullopt;
    const std::vector<TimedRow> timeline = inDateOrder(plays, songRows);

    SongView view;
    view.title = rank->key;
    view.plays = static_cast<std::int32_t>(timeline.size());
    view.first = plays.row(timeline.front().row).date;
    view.last = plays.row(timeline.back().row).date;
    view.bestScore = rank->score;
    if (rank->score > 0)
        view.bestScoreAt = rank->scoreDate;
    view.bestCombo = rank->maxCombo;
    if (rank->maxCombo > 0)
        view.bestComboAt = rank->maxComboDate;
    view.fullCombo = rank->fullCombo;

    SongBests bests;
    const std::int64_t firstDay = timeline.front().day();
    view.attempts.reserve(timeline.size());
    for (const TimedRow& t : timeline) {
        const PlayRecord& p = plays.row(t.row);
        SongAttempt& a = view.attempts.emplace_back();
        a.attempt = static_cast<std::int32_t>(view.attempts.size());
        a.row = t.row;
        a.at = p.date;
        a.score = p.score;
        a.maxCombo = shownValue(p.maxCombo);
        a.totalNotes = shownValue(p.totalNotes);
        for (std::size_t j = 0; j < p.judgements.size(); ++j) {
            if (!std::isnan(p.judgements[j]))
                a.judgements[j] = p.judgements[j];
        }
        a.autoplay = p.autoplay;
        a.autoScratch = p.autoScratch;
        const SongBests::Marks marks = bests.take(p.score, a.maxCombo, a.totalNotes);
        a.newBestScore = marks.bestScore;
        a.newBestCombo = marks.bestCombo;
        a.fullCombo = marks.fullCombo;
        if (a.fullCombo && !view.firstFullCombo)
            view.firstFullCombo = FirstFullCombo{a.attempt, a.at, t.day() - firstDay};
    }

    const CivilDate from = civilDate(timeline.front().day());
    const CivilDate to = civilDate(timeline.back().day());
    const int months = (to.year - from.year) * 12 + (to.month - from.month) + 1;
    view.perMonth.resize(static_cast<std::size_t>(months));
    for (int m = 0; m < months; ++m) {
        const CivilDate d = addMonths(CivilDate{from.year, from.month, 1}, m);
        view.perMonth[static_cast<std::size_t>(m)] = {d.year, d.month, 0};
    }
    for (const TimedRow& t : timeline) {
        const CivilDate d = civilDate(t.day());
        ++view.perMonth[static_cast<std::size_t>((d.year - from.year) * 12 + (d.month - from.month))].plays;
    }
    return view;
}

std::vector<std::uint32_t> songNumbers(const PlayList& plays, const std::vector<TimedRow>& timeline)
{
    std::vector<std::uint32_t> numbers(timeline.size());
    std::unordered_map<std::string_view, std::uint32_t, KeyFoldHash, KeyFoldEqual> known;
    known.reserve(1024);
    // Plays of one song often come in a row: the same spelling needs no lookup.
    std::string_view last;
    std::uint32_t lastNumber = 0;
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        const std::string_view title = plays.row(timeline[i].row).title;
        if (i == 0 || title != last) {
            lastNumber = known.try_emplace(title, static_cast<std::uint32_t>(known.size())).first->second;
            last = title;
        }
        numbers[i] = lastNumber;
    }
    return numbers;
}

std::vector<std::uint8_t> newBestScoreFlags(
    const PlayList& plays, const std::vector<TimedRow>& timeline, const std::vector<std::uint32_t>& songs)
{
    std::vector<std::uint8_t> flags(timeline.size(), 0);
    std::vector<std::int32_t> best;
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        if (songs[i] >= best.size())
            best.resize(songs[i] + 1, 0);
        const std::int32_t score = plays.row(timeline[i].row).score;
        if (score > best[songs[i]]) {
            flags[i] = 1;
            best[songs[i]] = score;
        }
    }
    return flags;
}

} // namespace tolvane
