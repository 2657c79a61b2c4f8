#include "core/insights/Sessions.h"

#include "core/insights/SongView.h"
#include "core/rankings/KeyFold.h"

#include <string_view>
#include <unordered_set>

namespace tolvane {

std::vector<PlaySession> buildSessions(const PlayList& plays, const std::vector<TimedRow>& timeline, int gapMinutes)
{
    std::vector<PlaySession> sessions;
    if (timeline.empty())
        return sessions;
    const std::int64_t gap = static_cast<std::int64_t>(gapMinutes) * 60;
    const std::vector<std::uint8_t> newBests = newBestScoreFlags(plays, timeline);
    std::unordered_set<std::string_view, KeyFoldHash, KeyFoldEqual> songs;
    PlaySession* current = nullptr;
    auto close = [&] {
        if (!current)
            return;
        current->minutes = (current->end - current->start) / 60;
        current->songs = static_cast<std::int32_t>(songs.size());
        songs.clear();
    };
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        const std::int64_t t = timeline[i].seconds;
        if (!current || t - current->end > gap) {
            close();
            current = &sessions.emplace_back();
            current->start = t;
            current->firstPlay = i;
        }
        current->end = t;
        ++current->plays;
        current->newBests += newBests[i];
        songs.insert(plays.row(timeline[i].row).title);
    }
    close();
    return sessions;
}

PlayStreaks buildStreaks(const PlayCalendar& calendar, const std::vector<PlaySession>& sessions)
{
    PlayStreaks s;
    s.daysPlayed = static_cast<std::int32_t>(calendar.days.size());
    DayStreak run;
    for (const DayPlays& d : calendar.days) {
        if (run.days > 0 && d.day == run.to + 1) {
            ++run.days;
            run.to = d.day;
        } else {
            run = {1, d.day, d.day};
        }
        if (run.days > s.longest.days)
            s.longest = run;
        if (d.plays > s.busiestDay.plays)
            s.busiestDay = d;
    }
    s.current = run;
    for (const PlaySession& session : sessions) {
        s.totalMinutes += session.minutes;
        if (!s.longestSession || session.end - session.start > s.longestSession->end - s.longestSession->start)
            s.longestSession = session;
    }
    return s;
}

} // namespace tolvane
