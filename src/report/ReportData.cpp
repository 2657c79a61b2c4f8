#include "report/ReportData.h"

namespace tolvane::report {

ViewParts partsOf(View view)
{
    ViewParts parts;
    switch (view) {
    case View::Summary: parts.summary = true; break;
    case View::Plays: parts.plays = true; break;
    case View::Title: parts.rankings = {RankingKind::Title}; break;
    case View::Artist: parts.rankings = {RankingKind::Artist}; break;
    case View::Genre: parts.rankings = {RankingKind::Genre}; break;
    case View::Score: parts.rankings = {RankingKind::Score}; break;
    case View::MaxCombo: parts.rankings = {RankingKind::MaxCombo}; break;
    case View::Charts: parts.charts = true; break;
    case View::Song: parts.song = true; break;
    case View::Calendar: parts.calendar = true; break;
    case View::Sessions: parts.sessions = true; break;
    case View::Streaks: parts.streaks = true; break;
    case View::Records: parts.records = true; break;
    case View::Year: parts.year = true; break;
    case View::All:
        parts.summary = parts.plays = parts.charts = true;
        parts.rankings
            = {RankingKind::Title, RankingKind::Artist, RankingKind::Genre, RankingKind::Score, RankingKind::MaxCombo};
        break;
    }
    return parts;
}

} // namespace tolvane::report
