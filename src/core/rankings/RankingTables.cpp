#include "core/rankings/RankingTables.h"

namespace tolvane {

void RankingTables::record(const RankedPlay& play)
{
    // An empty name is filed under the empty key, so its plays still add up
    // in one record instead of one unreachable record per play.
    Rank& song = songs.obtain(play.title);
    Rank& artist = artists.obtain(play.artist);
    Rank& genre = genres.obtain(play.genre);

    ++song.Counter;
    song.Artist = play.artist;
    song.Genre = play.genre;
    if (play.score > song.Score) {
        song.Score = play.score;
        song.ScoreDate = play.date;
    }
    if (play.maxCombo > song.MaxCombo) {
        song.MaxCombo = play.maxCombo;
        song.MaxComboDate = play.date;
        if (play.totalNotes == static_cast<double>(song.MaxCombo))
            song.FullCombo = true;
    }
    if (song.Counter == 1)
        song.FirstTime = play.date;
    song.Recent = play.date;

    ++artist.Counter;
    artist.Title = play.title;
    artist.Genre = play.genre;
    if (artist.Counter == 1)
        artist.FirstTime = play.date;
    artist.Recent = play.date;

    ++genre.Counter;
    genre.Artist = play.artist;
    genre.Title = play.title;
}

void RankingTables::clear() noexcept
{
    songs.clear();
    genres.clear();
    artists.clear();
}

} // namespace tolvane
