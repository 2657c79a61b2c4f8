#pragma once

#include <Qt>

namespace tolvane {

// The data roles every list model of the window answers besides the display
// text, so a sorting proxy, a search field or a song page can rely on them.
enum ItemRole {
    // The cell's raw value: a number for counts, scores and dates, the text
    // itself for names. Sorting on it puts 10 after 9.
    SortRole = Qt::UserRole + 1,
    // The song (title) a row stands for, as the rankings file it; no value
    // for rows that stand for no one song (artists, genres).
    SongKeyRole,
};

} // namespace tolvane
