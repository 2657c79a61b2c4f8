#include "report/ReviewReport.h"

#include "core/log/DateText.h"
#include "core/log/NumberText.h"
#include "core/review/Records.h"
#include "report/CsvReport.h"
#include "report/JsonReport.h"
#include "report/TextReport.h"

#include <array>
#include <string_view>
#include <vector>

namespace tolvane::report {

namespace {

constexpr std::array<std::string_view, 8> kRecordColumns
    = {"at", "title", "attempt", "score", "previous_score", "max_combo", "previous_combo", "marks"};
constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::vector<std::string_view> marksOf(const RecordRow& r)
{
    std::vector<std::string_view> marks;
    if (r.bestScore)
        marks.emplace_back("best_score");
    if (r.bestCombo)
        marks.emplace_back("best_combo");
    if (r.firstFullCombo)
        marks.emplace_back("first_full_combo");
    return marks;
}

std::string monthText(int year, int month)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%04d-%02d", year, month);
    return buf;
}

std::string dayText(std::int64_t day)
{
    const CivilDate c = civilDate(day);
    return shortDateText(c.year, c.month, c.day);
}

void print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

RecordsView recordsOf(const ReportData& data)
{
    return buildRecordsView(data.analysis.plays, allRows(data.analysis.plays));
}

// The rows table's cells; iso: the dates as JSON and CSV write them, else
// as the data list does, and "-" for no value.
std::vector<std::vector<std::string>> recordCells(const RecordsView& view, bool iso)
{
    const std::string none = iso ? "" : "-";
    std::vector<std::vector<std::string>> rows;
    rows.reserve(view.rows.size());
    for (const RecordRow& r : view.rows) {
        std::string marks;
        for (std::string_view m : marksOf(r))
            marks += (marks.empty() ? "" : " ") + std::string(m);
        rows.push_back({iso ? isoDateTime(r.seconds) : dateTimeText(r.at), r.title, std::to_string(r.attempt),
            std::to_string(r.score), r.previousScore ? std::to_string(*r.previousScore) : none, numberText(r.maxCombo),
            r.previousCombo ? numberText(*r.previousCombo) : none, marks});
    }
    return rows;
}

void writeRecordsJson(JsonWriter& json, const RecordsView& view)
{
    json.key("records");
    json.beginObject();
    json.key("columns");
    json.beginArray(JsonWriter::Layout::Inline);
    for (std::string_view c : kRecordColumns)
        json.value(c);
    json.endArray();
    json.key("rows");
    json.beginArray();
    for (const RecordRow& r : view.rows) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(isoDateTime(r.seconds));
        json.value(r.title);
        json.value(static_cast<std::int64_t>(r.attempt));
        json.value(static_cast<std::int64_t>(r.score));
        if (r.previousScore)
            json.value(static_cast<std::int64_t>(*r.previousScore));
        else
            json.null();
        json.number(r.maxCombo);
        if (r.previousCombo)
            json.number(*r.previousCombo);
        else
            json.null();
        json.beginArray();
        for (std::string_view m : marksOf(r))
            json.value(m);
        json.endArray();
        json.endArray();
    }
    json.endArray();
    json.key("per_month");
    json.beginArray();
    for (const MonthPlays& m : view.perMonth) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(monthText(m.year, m.month));
        json.value(static_cast<std::int64_t>(m.plays));
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

void writeFiguresJson(JsonWriter& json, const YearFigures& f, bool withYear)
{
    if (withYear) {
        json.key("year");
        json.value(static_cast<std::int64_t>(f.year));
    }
    json.key("plays");
    json.value(static_cast<std::int64_t>(f.plays));
    json.key("days_played");
    json.value(static_cast<std::int64_t>(f.daysPlayed));
    json.key("sessions");
    json.value(static_cast<std::int64_t>(f.sessions));
    json.key("minutes");
    json.value(f.minutes);
}

void writeTopJson(JsonWriter& json, std::string_view name, const std::vector<NamedPlays>& top)
{
    json.key(name);
    json.beginArray();
    for (const NamedPlays& n : top) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(n.name);
        json.value(static_cast<std::int64_t>(n.plays));
        json.endArray();
    }
    json.endArray();
}

template <std::size_t N>
void writeCountsJson(JsonWriter& json, std::string_view name, const std::array<std::int32_t, N>& counts)
{
    json.key(name);
    json.beginArray(JsonWriter::Layout::Inline);
    for (std::int32_t c : counts)
        json.value(static_cast<std::int64_t>(c));
    json.endArray();
}

void writeYearJson(JsonWriter& json, const YearReview& y)
{
    const auto count = [&](std::string_view name, std::int32_t value) {
        json.key(name);
        json.value(static_cast<std::int64_t>(value));
    };
    json.key("year");
    json.beginObject();
    writeFiguresJson(json, y.figures, true);
    count("songs", y.songs);
    count("new_songs", y.newSongs);
    count("artists", y.artists);
    count("genres", y.genres);
    count("records", y.records);
    count("first_full_combos", y.firstFullCombos);
    writeTopJson(json, "top_songs", y.topSongs);
    writeTopJson(json, "top_artists", y.topArtists);
    writeTopJson(json, "top_genres", y.topGenres);
    json.key("per_month");
    json.beginArray();
    for (std::size_t m = 0; m < y.perMonth.size(); ++m) {
        json.beginArray(JsonWriter::Layout::Inline);
        json.value(monthText(y.figures.year, static_cast<int>(m + 1)));
        json.value(static_cast<std::int64_t>(y.perMonth[m]));
        json.endArray();
    }
    json.endArray();
    writeCountsJson(json, "per_weekday", y.perWeekday);
    writeCountsJson(json, "per_hour", y.perHour);
    json.key("busiest_day");
    json.beginObject(JsonWriter::Layout::Inline);
    json.key("day");
    json.value(isoDay(y.busiestDay.day));
    count("plays", y.busiestDay.plays);
    json.endObject();
    json.key("longest_streak");
    json.beginObject(JsonWriter::Layout::Inline);
    count("days", y.longestStreak.days);
    json.key("from");
    json.value(isoDay(y.longestStreak.from));
    json.key("to");
    json.value(isoDay(y.longestStreak.to));
    json.endObject();
    json.key("longest_session");
    if (y.longestSession) {
        json.beginObject(JsonWriter::Layout::Inline);
        json.key("start");
        json.value(isoDateTime(y.longestSession->start));
        json.key("minutes");
        json.value(y.longestSession->minutes);
        count("plays", y.longestSession->plays);
        json.endObject();
    } else {
        json.null();
    }
    json.key("previous_year");
    if (y.previousYear) {
        json.beginObject(JsonWriter::Layout::Inline);
        writeFiguresJson(json, *y.previousYear, true);
        json.endObject();
    } else {
        json.null();
    }
    json.endObject();
}

void printRecordsText(std::FILE* out, const RecordsView& view)
{
    print(out, "records (" + std::to_string(view.rows.size()) + ")\n");
    writeTextTable(out, {kRecordColumns.begin(), kRecordColumns.end()}, recordCells(view, false));
    print(out, "\nrecords per month\n");
    std::vector<std::vector<std::string>> months;
    for (const MonthPlays& m : view.perMonth)
        months.push_back({monthText(m.year, m.month), std::to_string(m.plays)});
    writeTextTable(out, {"month", "records"}, months);
}

// "8  (2003: 2, +6)": a figure with the year before's and the change.
std::string withChange(std::int64_t value, int yearBefore, std::int64_t before)
{
    const std::int64_t change = value - before;
    return std::to_string(value) + "  (" + std::to_string(yearBefore) + ": " + std::to_string(before) + ", "
        + (change > 0        ? "+"
                : change < 0 ? ""
                             : "±")
        + std::to_string(change) + ")";
}

void printTopText(std::FILE* out, std::string_view heading, const std::vector<NamedPlays>& top)
{
    print(out, "\n" + std::string(heading) + "\n");
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < top.size(); ++i)
        rows.push_back({std::to_string(i + 1), top[i].name, std::to_string(top[i].plays)});
    writeTextTable(out, {"#", "name", "plays"}, rows);
}

void printYearText(std::FILE* out, const YearReview& y)
{
    const YearFigures& f = y.figures;
    std::string t = "year               " + std::to_string(f.year) + "\n";
    const auto figure = [&](std::int64_t value, std::int64_t before) {
        return y.previousYear ? withChange(value, y.previousYear->year, before) : std::to_string(value);
    };
    const YearFigures p = y.previousYear.value_or(YearFigures{});
    t += "plays              " + figure(f.plays, p.plays) + "\n";
    t += "days played        " + figure(f.daysPlayed, p.daysPlayed) + "\n";
    t += "sessions           " + figure(f.sessions, p.sessions) + "\n";
    t += "minutes            " + figure(f.minutes, p.minutes) + "\n";
    t += "songs              " + std::to_string(y.songs) + " (" + std::to_string(y.newSongs) + " new)\n";
    t += "artists            " + std::to_string(y.artists) + "\n";
    t += "genres             " + std::to_string(y.genres) + "\n";
    t += "records            " + std::to_string(y.records) + " (" + std::to_string(y.firstFullCombos)
        + " first full combos)\n";
    t += "busiest day        " + dayText(y.busiestDay.day) + ", " + std::to_string(y.busiestDay.plays) + " plays\n";
    t += "longest streak     " + std::to_string(y.longestStreak.days) + " days, " + dayText(y.longestStreak.from)
        + " - " + dayText(y.longestStreak.to) + "\n";
    if (y.longestSession) {
        t += "longest session    " + dateTimeText(static_cast<double>(y.longestSession->start) / kSecondsPerDay) + ", "
            + std::to_string(y.longestSession->minutes) + " minutes, " + std::to_string(y.longestSession->plays)
            + " plays\n";
    } else {
        t += "longest session    -\n";
    }
    print(out, t);
    printTopText(out, "top songs", y.topSongs);
    printTopText(out, "top artists", y.topArtists);
    printTopText(out, "top genres", y.topGenres);

    std::vector<std::vector<std::string>> months;
    for (std::size_t m = 0; m < y.perMonth.size(); ++m)
        months.push_back({monthText(f.year, static_cast<int>(m + 1)), std::to_string(y.perMonth[m])});
    print(out, "\nplays per month\n");
    writeTextTable(out, {"month", "plays"}, months);
    std::vector<std::vector<std::string>> weekdays;
    for (std::size_t d = 0; d < y.perWeekday.size(); ++d)
        weekdays.push_back({std::string(kWeekdays[d]), std::to_string(y.perWeekday[d])});
    print(out, "\nplays per weekday\n");
    writeTextTable(out, {"weekday", "plays"}, weekdays);
    std::vector<std::vector<std::string>> hours;
    for (std::size_t h = 0; h < y.perHour.size(); ++h)
        hours.push_back({std::to_string(h), std::to_string(y.perHour[h])});
    print(out, "\nplays per hour\n");
    writeTextTable(out, {"hour", "plays"}, hours);
}

} // namespace

void writeReviewMembers(JsonWriter& json, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    if (parts.records)
        writeRecordsJson(json, recordsOf(data));
    if (parts.year && data.year)
        writeYearJson(json, *data.year);
}

void writeReviewCsv(std::FILE* out, const ReportData& data)
{
    if (!partsOf(data.options.view).records)
        return;
    writeCsvLine(out, {kRecordColumns.begin(), kRecordColumns.end()});
    for (const auto& row : recordCells(recordsOf(data), true))
        writeCsvLine(out, row);
}

void writeReviewText(std::FILE* out, const ReportData& data)
{
    const ViewParts parts = partsOf(data.options.view);
    if (parts.records)
        printRecordsText(out, recordsOf(data));
    if (parts.year && data.year)
        printYearText(out, *data.year);
}

int fillYearReview(ReportData& data)
{
    const YearReviewSource source(data.analysis.plays, allRows(data.analysis.plays), data.options.sessionGap);
    const int year = data.options.year.value_or(source.lastYear().value_or(0));
    data.year = source.review(year);
    return year;
}

std::string noYearMessage(int year)
{
    return std::to_string(year) + "年のプレイはありません。";
}

void writeJsonNoYear(std::FILE* out, int year, bool severalLogs)
{
    writeJsonFailure(out, "no_year", 0, noYearMessage(year), severalLogs);
}

} // namespace tolvane::report
