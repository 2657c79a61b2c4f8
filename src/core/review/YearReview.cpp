#include "core/review/YearReview.h"

#include "core/rankings/KeyFold.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace tolvane {

namespace {

constexpr std::size_t kTopKeys = 10;

std::int64_t yearStart(int year)
{
    return serialDay(year, 1, 1) * kSecondsPerDay;
}

} // namespace

YearReviewSource::Keys YearReviewSource::keysOf(
    const PlayList& plays, const std::vector<TimedRow>& timeline, bool artist)
{
    // The artist and genre rankings file a play under its text, letter case
    // ignored; the key's text is that of its first play in file order.
    Keys keys;
    keys.numbers.resize(timeline.size());
    std::unordered_map<std::string_view, std::uint32_t, KeyFoldHash, KeyFoldEqual> known;
    std::vector<std::size_t> firstRow;
    std::string_view last;
    std::uint32_t lastNumber = 0;
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        const PlayRecord& p = plays.row(timeline[i].row);
        const std::string_view text = artist ? p.artist : p.genre;
        if (i == 0 || text != last) {
            const auto [at, added] = known.try_emplace(text, static_cast<std::uint32_t>(known.size()));
            if (added)
                firstRow.push_back(timeline[i].row);
            lastNumber = at->second;
            last = text;
        }
        keys.numbers[i] = lastNumber;
        firstRow[lastNumber] = std::min(firstRow[lastNumber], timeline[i].row);
    }
    keys.names.reserve(firstRow.size());
    for (std::size_t row : firstRow) {
        const PlayRecord& p = plays.row(row);
        keys.names.emplace_back(artist ? p.artist : p.genre);
    }
    return keys;
}

YearReviewSource::YearReviewSource(const PlayList& plays, const RowList& rows, int gapMinutes)
{
    const std::vector<TimedRow> timeline = inDateOrder(plays, rows);
    seconds_.reserve(timeline.size());
    for (const TimedRow& t : timeline)
        seconds_.push_back(t.seconds);
    songs_ = timelineSongs(plays, timeline);
    artists_ = keysOf(plays, timeline, true);
    genres_ = keysOf(plays, timeline, false);
    calendar_ = buildPlayCalendar(timeline);
    sessions_ = buildSessions(plays, timeline, gapMinutes);
    records_ = buildRecordsView(plays, timeline, songs_);
    for (const YearPlays& y : calendar_.years) {
        if (y.plays > 0)
            years_.push_back(y.year);
    }
}

std::optional<int> YearReviewSource::lastYear() const
{
    if (seconds_.empty())
        return std::nullopt;
    return civilDate(TimedRow{seconds_.back(), 0}.day()).year;
}

YearReviewSource::Range YearReviewSource::playsOf(int year) const
{
    const auto from = std::lower_bound(seconds_.begin(), seconds_.end(), yearStart(year));
    const auto to = std::lower_bound(from, seconds_.end(), yearStart(year + 1));
    return {static_cast<std::size_t>(from - seconds_.begin()), static_cast<std::size_t>(to - seconds_.begin())};
}

YearReviewSource::Range YearReviewSource::sessionsOf(int year) const
{
    const auto earlier = [](const PlaySession& s, std::int64_t t) { return s.start < t; };
    const auto from = std::lower_bound(sessions_.begin(), sessions_.end(), yearStart(year), earlier);
    const auto to = std::lower_bound(from, sessions_.end(), yearStart(year + 1), earlier);
    return {static_cast<std::size_t>(from - sessions_.begin()), static_cast<std::size_t>(to - sessions_.begin())};
}

YearFigures YearReviewSource::figures(int year) const
{
    YearFigures f;
    f.year = year;
    const Range plays = playsOf(year);
    f.plays = static_cast<std::int32_t>(plays.to - plays.from);
    f.daysPlayed = static_cast<std::int32_t>(calendar_.daysOfYear(year).size());
    const Range sessions = sessionsOf(year);
    f.sessions = static_cast<std::int32_t>(sessions.to - sessions.from);
    for (std::size_t i = sessions.from; i < sessions.to; ++i)
        f.minutes += sessions_[i].minutes;
    return f;
}

std::vector<NamedPlays> YearReviewSource::top(const std::vector<std::uint32_t>& numbers,
    const std::vector<std::string>& names, Range plays, std::int32_t& distinct, std::vector<std::uint32_t>* touched)
{
    std::vector<std::int32_t> counts(names.size(), 0);
    std::vector<std::uint32_t> order; // in the order of their first play in the range
    for (std::size_t i = plays.from; i < plays.to; ++i) {
        if (counts[numbers[i]]++ == 0)
            order.push_back(numbers[i]);
    }
    distinct = static_cast<std::int32_t>(order.size());
    std::vector<std::uint32_t> ranked = order;
    const std::size_t shown = std::min(kTopKeys, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(shown), ranked.end(),
        [&](std::uint32_t a, std::uint32_t b) { return counts[a] > counts[b]; });
    // partial_sort is not stable: put equal counts back in first-play order.
    std::vector<std::size_t> place(names.size(), 0);
    for (std::size_t k = 0; k < order.size(); ++k)
        place[order[k]] = k;
    std::sort(
        ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(shown), [&](std::uint32_t a, std::uint32_t b) {
            return counts[a] != counts[b] ? counts[a] > counts[b] : place[a] < place[b];
        });
    std::vector<NamedPlays> out;
    out.reserve(shown);
    for (std::size_t k = 0; k < shown; ++k)
        out.push_back({names[ranked[k]], counts[ranked[k]]});
    if (touched)
        *touched = std::move(order);
    return out;
}

std::optional<YearReview> YearReviewSource::review(int year) const
{
    const Range plays = playsOf(year);
    if (plays.from == plays.to)
        return std::nullopt;
    YearReview r;
    r.figures = figures(year);

    std::vector<std::uint32_t> songs;
    r.topSongs = top(songs_.numbers, songs_.titles, plays, r.songs, &songs);
    r.topArtists = top(artists_.numbers, artists_.names, plays, r.artists);
    r.topGenres = top(genres_.numbers, genres_.names, plays, r.genres);
    for (std::uint32_t song : songs) {
        if (songs_.firstPlay[song] >= plays.from)
            ++r.newSongs;
    }

    const auto earlier = [](const RecordRow& rec, std::int64_t t) { return rec.seconds < t; };
    const auto firstRecord = std::lower_bound(records_.rows.begin(), records_.rows.end(), yearStart(year), earlier);
    const auto endRecord = std::lower_bound(firstRecord, records_.rows.end(), yearStart(year + 1), earlier);
    r.records = static_cast<std::int32_t>(endRecord - firstRecord);
    r.firstFullCombos = static_cast<std::int32_t>(
        std::count_if(firstRecord, endRecord, [](const RecordRow& rec) { return rec.firstFullCombo; }));

    PlayCalendar days;
    days.days = calendar_.daysOfYear(year);
    for (const DayPlays& d : days.days) {
        r.perMonth[static_cast<std::size_t>(civilDate(d.day).month - 1)] += d.plays;
        r.perWeekday[static_cast<std::size_t>(weekdayOfSerial(d.day) - 1)] += d.plays;
    }
    for (std::size_t i = plays.from; i < plays.to; ++i) {
        const std::int64_t t = seconds_[i];
        ++r.perHour[static_cast<std::size_t>((t - TimedRow{t, 0}.day() * kSecondsPerDay) / 3600)];
    }
    const Range sessions = sessionsOf(year);
    const std::vector<PlaySession> yearSessions(sessions_.begin() + static_cast<std::ptrdiff_t>(sessions.from),
        sessions_.begin() + static_cast<std::ptrdiff_t>(sessions.to));
    const PlayStreaks streaks = buildStreaks(days, yearSessions);
    r.busiestDay = streaks.busiestDay;
    r.longestStreak = streaks.longest;
    r.longestSession = streaks.longestSession;
    if (year > 1)
        r.previousYear = figures(year - 1);
    return r;
}

std::optional<YearReview> buildYearReview(const PlayList& plays, const RowList& rows, int year, int gapMinutes)
{
    return YearReviewSource(plays, rows, gapMinutes).review(year);
}

} // namespace tolvane
