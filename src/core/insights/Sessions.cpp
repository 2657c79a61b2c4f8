#include "core/insights/Sessions.h"

#include "core/insights/SongView.h"

namespace tolvane {

std::vector<PlaySession> buildSessions(const PlayList& plays, const std::vector<TimedRow>& timeline, int gapMinutes)
{
    std::vector<PlaySession> sessions;
    if (timeline.empty())
        return sessions;
    const std::int64_t gap = static_cast<std::int64_t>(gapMinutes) * 60;
    const std::vector<std::uint32_t> songs = songNumbers(plays, timeline);
    const std::vector<std::uint8_t> newBests = newBestScoreFlags(plays, timeline, songs);
    // The session each song was last counted in, plus one (0: never).
    std::vector<std::size_t> countedIn;
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        const std::int64_t t = timeline[i].seconds;
        if (sessions.empty() || t - sessions.back().end > gap) {
            PlaySession& s = sessions.emplace_back();
            s.start = t;
            s.firstPlay = i;
        }
        PlaySession& s = sessions.back();
        s.end = t;
        ++s.plays;
        s.newBests += newBests[i];
        if (songs[i] >= countedIn.size())
            countedIn.resize(songs[i] + 1, 0);
        if (countedIn[songs[i]] != sessions.size()) {
            countedIn[songs[i]] = sessions.size();
            ++s.songs;
        }
    }
    for (PlaySession& s : sessions)
        s.minutes = (s.end - s.start) / 60;
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
