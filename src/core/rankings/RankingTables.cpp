#include "core/rankings/RankingTables.h"

#include "core/log/NumberText.h"
#include "core/log/NumericValue.h"
#include "core/log/PlayRecord.h"

namespace tolvane {

std::optional<RankedPlay> rankedPlay(const PlayRecord& p)
{
    const auto maxCombo = toInt32(shownValue(p.maxCombo));
    if (!maxCombo)
        return std::nullopt;
    return RankedPlay{p.title, p.artist, p.genre, p.date, p.score, *maxCombo, shownValue(p.totalNotes)};
}

void RankingTables::record(const RankedPlay& play)
{
    // An empty name is filed under the empty key, so its plays still add up
    // in one record instead of one unreachable record per play.
    Rank& song = songs.obtain(play.title);
    Rank& artist = artists.obtain(play.artist);
    Rank& genre = genres.obtain(play.genre);

    ++song.plays;
    song.artist = play.artist;
    song.genre = play.genre;
    if (play.score > song.score) {
        song.score = play.score;
        song.scoreDate = play.date;
    }
    if (play.maxCombo > song.maxCombo) {
        song.maxCombo = play.maxCombo;
        song.maxComboDate = play.date;
        if (play.totalNotes == static_cast<double>(song.maxCombo))
            song.fullCombo = true;
    }
    if (song.plays == 1)
        song.firstPlayed = play.date;
    song.lastPlayed = play.date;

    ++artist.plays;
    artist.title = play.title;
    artist.genre = play.genre;
    if (artist.plays == 1)
        artist.firstPlayed = play.date;
    artist.lastPlayed = play.date;

    ++genre.plays;
    genre.artist = play.artist;
    genre.title = play.title;
}

void RankingTables::clear() noexcept
{
    songs.clear();
    genres.clear();
    artists.clear();
}

} // namespace tolvane
