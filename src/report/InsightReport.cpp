#include "report/InsightReport.h"

#include "core/insights/PlayCalendar.h"
#include "core/insights/Sessions.h"
#include "core/log/DateText.h"
#include "core/log/NumberText.h"
#include "report/CsvReport.h"
#include "report/JsonReport.h"
#include "report/TextReport.h"

#include <array>
#include <cstdio>

namespace tolvane::report {

namespace {

constexpr std::array<std::string_view, 12> kAttemptColumns = {"attempt", "at", "score", "max_combo", "total_notes",
    "great", "good", "bad", "poor", "autoplay", "autoscratch", "marks"};
constexpr std::array<std::string_view, 6> kSessionColumns = {"start", "end", "minutes", "plays", "songs", "new_bests"};

std::vector<std::string_view> marksOf(const SongAttempt& a)
{
    std::vector<std::string_view> marks;
    if (a.newBestScore)
        marks.emplace_back("best_score");
    if (a.newBestCombo)
        marks.emplace_back("best_combo");
    if (a.fullCombo)
        marks.emplace_back("full_combo");
    return marks;
}

std::string monthText(int year, int month)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%04d-%02d", year, month);
    return buf;
}

std::string numberOrEmpty(const std::optional<double>& value)
{
    return value ? numberText(*value) : std::string();
}

void print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

std::string dateTimeOf(std::int64_t seconds)
{
    return dateTimeText(static_cast<double>(seconds) / kSecondsPerDay);
}

// What the calendar, sessions and streaks views count: the accepted plays in
// date order.
struct Habits {
    std::vector<TimedRow> timeline;
    PlayCalendar calendar;
    std::vector<PlaySession> sessions;
    PlayStreaks streaks;

    explicit Habits(const ReportData& data)
        : timeline(inDateOrder(data.analysis.plays, allRows(data.analysis.plays)))
        , calendar(buildPlayCalendar(timeline))
        , sessions(buildSessions(data.analysis.plays, timeline, data.options.sessionGap))
        , streaks(buildStreaks(calendar, sessions))
    {
    }
};

std::vector<std::vector<std::string>> attemptCells(const SongView& song, bool iso)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(song.attempts.size());
    for (const SongAttempt& a : song.attempts) {
        std::string marks;
        for (std::string_view m : marksOf(a))
            marks += (marks.empty() ? "" : " ") + std::string(m);
        rows.push_back({std::to_string(a.attempt), iso ? isoDateTime(a.at) : dateTimeText(a.at),
            std::to_string(a.score), numberText(a.maxCombo), numberText(a.totalNotes),
            numberOrEmpty(a.judgements[PlayRecord::Great]), numberOrEmpty(a.judgements[PlayRecord::Good]),
            numberOrEmpty(a.judgements[PlayRecord::Bad]), numberOrEmpty(a.judgements[PlayRecord::Poor]),
            std::to_string(a.autoplay), std::to_string(a.autoScratch), marks});
    }
    return rows;
}

std::vector<std::vector<std::string>> sessionCells(const std::vector<PlaySession>& sessions, bool iso)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(sessions.size());
    for (const PlaySession& s : sessions) {
        rows.push_back({iso ? isoDateTime(s.start) : dateTimeOf(s.start), iso ? isoDateTime(s.end) : dateTimeOf(s.end),
            std::to_string(s.minutes), std::to_string(s.plays), std::to_string(s.songs), std::to_string(s.newBests)});
    }
    return rows;
}

template <std::size_t N> std::vector<std::string> headersOf(const std::array<std::string_view, N>& names)
{
    return {names.begin(), names.end()};
}

void jsonDateOrNull(JsonWriter& json, const std::optional<DateValue>& at)
{
    if (at)
        json.value(isoDateTime(*at));
    else
        json.null();
}

void writeSongJson(JsonWriter& json, const SongView& song)
{
    json.key("song");
    json.beginObject();
    json.key("title");
    json.value(song.title);
    json.key("plays");
    json.value(static_cast<std::int64_t>(song.plays));
    json.key("first");
    json.value(isoDateTime(song.first));
    json.key("last");
    json.value(isoDateTime(song.last));
    json.key("best_score");
    json.value(static_cast<std::int64_t>(song.bestScore));
    json.key("best_score_at");
    jsonDateOrNull(json, song.bestScoreAt);
    json.key("best_combo");
    json.value(static_cast<std::int64_t>(song.bestCombo));
    json.key("best_combo_at");
    jsonDateOrNull(json, song.bestComboAt);
    json.key("full_combo");
    json.boolean(song.fullCombo);
    json.key("first_full_combo");
    if (song.firstFullCombo) {
        json.beginObject(JsonWriter::Layout::Inline);
        json.key("attempt");
        json.value(static_cast<std::int64_t>(song.firstFullCombo->attempt));
        json.key("at");
        json.value(isoDateTime(song.firstFullCombo->at));
        json.key("days");
        json.value(song.firstFullCombo->days);
        json.endObject();
    } else {
        json.null();
    }
    json.key("per_month");
    json.beginArray();
    for (const MonthPlays& m : song.perMonth) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(monthText(m.year, m.month));
        json.value(static_cast<std::int64_t>(m.plays));
        json.endArray();
    }
    json.endArray();
    json.key("attempts");
    json.beginObject();
    json.key("columns");
    json.beginArray(JsonWriter::Layout::Inline);
    for (std::string_view c : kAttemptColumns)
        json.value(c);
    json.endArray();
    json.key("rows");
    json.beginArray();
    for (const SongAttempt& a : song.attempts) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(static_cast<std::int64_t>(a.attempt));
        json.value(isoDateTime(a.at));
        json.value(static_cast<std::int64_t>(a.score));
        json.number(a.maxCombo);
        json.number(a.totalNotes);
        for (const auto& count : a.judgements) {
            if (count)
                json.number(*count);
            else
                json.null();
        }
        json.value(static_cast<std::int64_t>(a.autoplay));
        json.value(static_cast<std::int64_t>(a.autoScratch));
        json.beginArray();
        for (std::string_view m : marksOf(a))
            json.value(m);
        json.endArray();
        json.endArray();
    }
    json.endArray();
    json.endObject();
    json.endObject();
}

void writeCalendarJson(JsonWriter& json, const PlayCalendar& calendar)
{
    json.key("calendar");
    json.beginObject();
    json.key("days");
    json.beginArray();
    for (const DayPlays& d : calendar.days) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(isoDay(d.day));
        json.value(static_cast<std::int64_t>(d.plays));
        json.endArray();
    }
    json.endArray();
    json.key("years");
    json.beginArray();
    for (const YearPlays& y : calendar.years) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(static_cast<std::int64_t>(y.year));
        json.value(static_cast<std::int64_t>(y.plays));
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

void writeSessionsJson(JsonWriter& json, const std::vector<PlaySession>& sessions, int gap)
{
    json.key("sessions");
    json.beginObject();
    json.key("gap_minutes");
    json.value(static_cast<std::int64_t>(gap));
    json.key("rows");
    json.beginArray();
    for (const PlaySession& s : sessions) {
        json.beginObject(JsonWriter::Layout::Inline);
        json.key("start");
        json.value(isoDateTime(s.start));
        json.key("end");
        json.value(isoDateTime(s.end));
        json.key("minutes");
        json.value(s.minutes);
        json.key("plays");
        json.value(static_cast<std::int64_t>(s.plays));
        json.key("songs");
        json.value(static_cast<std::int64_t>(s.songs));
        json.key("new_bests");
        json.value(static_cast<std::int64_t>(s.newBests));
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

void writeStreakJson(JsonWriter& json, std::string_view name, const DayStreak& streak)
{
    json.key(name);
    json.beginObject(JsonWriter::Layout::Inline);
    json.key("days");
    json.value(static_cast<std::int64_t>(streak.days));
    json.key("from");
    json.value(isoDay(streak.from));
    json.key("to");
    json.value(isoDay(streak.to));
    json.endObject();
}

void writeStreaksJson(JsonWriter& json, const PlayStreaks& s)
{
    json.key("streaks");
    json.beginObject();
    writeStreakJson(json, "longest", s.longest);
    writeStreakJson(json, "current", s.current);
    json.key("busiest_day");
    json.beginObject(JsonWriter::Layout::Inline);
    json.key("day");
    json.value(isoDay(s.busiestDay.day));
    json.key("plays");
    json.value(static_cast<std::int64_t>(s.busiestDay.plays));
    json.endObject();
    json.key("longest_session");
    if (s.longestSession) {
        json.beginObject(JsonWriter::Layout::Inline);
        json.key("start");
        json.value(isoDateTime(s.longestSession->start));
        json.key("minutes");
        json.value(s.longestSession->minutes);
        json.key("plays");
        json.value(static_cast<std::int64_t>(s.longestSession->plays));
        json.endObject();
    } else {
        json.null();
    }
    json.key("total_minutes");
    json.value(s.totalMinutes);
    json.key("days_played");
    json.value(static_cast<std::int64_t>(s.daysPlayed));
    json.endObject();
}

void printSongText(std::FILE* out, const SongView& song)
{
    auto dateOr = [](const std::optional<DateValue>& at) { return at ? dateTimeText(*at) : std::string("-"); };
    std::string s = "title        " + song.title + "\n";
    s += "plays        " + std::to_string(song.plays) + "\n";
    s += "first        " + dateTimeText(song.first) + "\n";
    s += "last         " + dateTimeText(song.last) + "\n";
    s += "best score   " + std::to_string(song.bestScore) + "  " + dateOr(song.bestScoreAt) + "\n";
    s += "best combo   " + std::to_string(song.bestCombo) + "  " + dateOr(song.bestComboAt) + "\n";
    s += "full combo   " + std::string(song.fullCombo ? "yes" : "no") + "\n";
    if (song.firstFullCombo) {
        s += "first full combo  attempt " + std::to_string(song.firstFullCombo->attempt) + ", "
            + dateTimeText(song.firstFullCombo->at) + ", day " + std::to_string(song.firstFullCombo->days) + "\n";
    } else {
        s += "first full combo  -\n";
    }
    s += "\nplays per month\n";
    print(out, s);
    std::vector<std::vector<std::string>> months;
    for (const MonthPlays& m : song.perMonth)
        months.push_back({monthText(m.year, m.month), std::to_string(m.plays)});
    writeTextTable(out, {"month", "plays"}, months);
    print(out, "\nattempts\n");
    writeTextTable(out, headersOf(kAttemptColumns), attemptCells(song, false));
}

void printCalendarText(std::FILE* out, const PlayCalendar& calendar)
{
    std::vector<std::vector<std::string>> years;
    for (const YearPlays& y : calendar.years)
        years.push_back({std::to_string(y.year), std::to_string(y.plays)});
    writeTextTable(out, {"year", "plays"}, years);
    print(out, "\n");
    std::vector<std::vector<std::string>> days;
    for (const DayPlays& d : calendar.days) {
        const CivilDate c = civilDate(d.day);
        days.push_back({shortDateText(c.year, c.month, c.day), std::to_string(d.plays)});
    }
    writeTextTable(out, {"day", "plays"}, days);
}

void printStreaksText(std::FILE* out, const PlayStreaks& s)
{
    auto dayText = [](std::int64_t day) {
        const CivilDate c = civilDate(day);
        return shortDateText(c.year, c.month, c.day);
    };
    auto streak = [&](const DayStreak& d) {
        return std::to_string(d.days) + " days, " + dayText(d.from) + " - " + dayText(d.to) + "\n";
    };
    std::string t = "longest streak   " + streak(s.longest);
    t += "current streak   " + streak(s.current);
    t += "busiest day      " + dayText(s.busiestDay.day) + ", " + std::to_string(s.busiestDay.plays) + " plays\n";
    if (s.longestSession) {
        t += "longest session  " + dateTimeOf(s.longestSession->start) + ", "
            + std::to_string(s.longestSession->minutes) + " minutes, " + std::to_string(s.longestSession->plays)
            + " plays\n";
    }
    t += "total minutes    " + std::to_string(s.totalMinutes) + "\n";
    t += "days played      " + std::to_string(s.daysPlayed) + "\n";
    print(out, t);
}

} // namespace

void writeInsightMembers(JsonWriter& json, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    if (parts.song && data.song)
        writeSongJson(json, *data.song);
    if (!parts.calendar && !parts.sessions && !parts.streaks)
        return;
    const Habits habits(data);
    if (parts.calendar)
        writeCalendarJson(json, habits.calendar);
    if (parts.sessions)
        writeSessionsJson(json, habits.sessions, data.options.sessionGap);
    if (parts.streaks)
        writeStreaksJson(json, habits.streaks);
}

void writeInsightCsv(std::FILE* out, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    if (parts.song && data.song) {
        writeCsvLine(out, headersOf(kAttemptColumns));
        for (const auto& row : attemptCells(*data.song, true))
            writeCsvLine(out, row);
        return;
    }
    if (!parts.calendar && !parts.sessions)
        return;
    const Habits habits(data);
    if (parts.calendar) {
        writeCsvLine(out, {"day", "plays"});
        for (const DayPlays& d : habits.calendar.days)
            writeCsvLine(out, {isoDay(d.day), std::to_string(d.plays)});
    } else {
        writeCsvLine(out, headersOf(kSessionColumns));
        for (const auto& row : sessionCells(habits.sessions, true))
            writeCsvLine(out, row);
    }
}

void writeInsightText(std::FILE* out, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    if (parts.song && data.song)
        printSongText(out, *data.song);
    if (!parts.calendar && !parts.sessions && !parts.streaks)
        return;
    const Habits habits(data);
    if (parts.calendar)
        printCalendarText(out, habits.calendar);
    if (parts.sessions) {
        print(out, "sessions (a gap over " + std::to_string(data.options.sessionGap) + " minutes starts a new one)\n");
        writeTextTable(out, headersOf(kSessionColumns), sessionCells(habits.sessions, false));
    }
    if (parts.streaks)
        printStreaksText(out, habits.streaks);
}

std::string noSongMessage(std::string_view title)
{
    return "「" + std::string(title) + "」という曲はありません。";
}

void writeJsonNoSong(std::FILE* out, std::string_view title, bool severalLogs)
{
    writeJsonFailure(out, "no_song", 0, noSongMessage(title), severalLogs);
}

} // namespace tolvane::report
