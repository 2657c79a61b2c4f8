#include "report/ReportOptions.h"

#include "core/export/Utf8Check.h"
#include "core/insights/Sessions.h"
#include "core/log/AsciiText.h"
#include "core/log/DateText.h"
#include "core/settings/SettingText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tolvane::report {

namespace {

std::optional<std::int16_t> sideOf(std::string_view text)
{
    if (text == "1P" || text == "1p")
        return 0;
    if (text == "2P" || text == "2p")
        return 1;
    if (text == "1P+2P" || text == "1p+2p")
        return 2;
    return std::nullopt;
}

std::optional<View> viewOf(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, View>, 15> kViews = {{
        {"summary", View::Summary},
        {"plays", View::Plays},
        {"title", View::Title},
        {"artist", View::Artist},
        {"genre", View::Genre},
        {"score", View::Score},
        {"maxcombo", View::MaxCombo},
        {"charts", View::Charts},
        {"all", View::All},
        {"song", View::Song},
        {"calendar", View::Calendar},
        {"sessions", View::Sessions},
        {"streaks", View::Streaks},
        {"records", View::Records},
        {"year", View::Year},
    }};
    for (const auto& [name, view] : kViews) {
        if (name == text)
            return view;
    }
    return std::nullopt;
}

std::optional<Format> formatOf(std::string_view text)
{
    if (text == "text")
        return Format::Text;
    if (text == "json")
        return Format::Json;
    if (text == "csv")
        return Format::Csv;
    return std::nullopt;
}

bool isTableView(View view)
{
    return view != View::Summary && view != View::Charts && view != View::All && view != View::Streaks
        && view != View::Year;
}

// A whole number of minutes from 1 to 1440, digits only.
std::optional<int> sessionGapOf(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int minutes = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        minutes = minutes * 10 + (c - '0');
    }
    if (minutes < kMinSessionGap || minutes > kMaxSessionGap)
        return std::nullopt;
    return minutes;
}

// A year from 1 to 9999 in ASCII digits, without a sign.
std::optional<int> yearOf(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int year = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        year = std::min(year * 10 + (c - '0'), 10000);
    }
    if (year < 1 || year > 9999)
        return std::nullopt;
    return year;
}

} // namespace

Filter ReportOptions::applyTo(Filter f) const
{
    if (ignoreAutoplay) {
        f.IgnoreAutoplay = true;
        f.optIgnoreAuto = *ignoreAutoplay;
    }
    if (ignoreScratch) {
        f.IgnoreScrach = true;
        f.optIgnoreScr = *ignoreScratch;
    }
    if (minScore) {
        f.ScoreFilter = true;
        f.MinScore = *minScore;
    }
    if (from || to) {
        f.SpanFilter = true;
        f.Mintime = from.value_or(0.0);
        f.Maxtime = to.value_or(0.0);
    }
    return f;
}

ParsedOptions parseOptions(const std::vector<std::string_view>& args)
{
    ReportOptions o;
    std::vector<std::string_view> files;
    auto bad = [](std::string message) { return ParsedOptions{std::nullopt, std::move(message)}; };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            continue;
        }
        if (arg == "--version") {
            o.version = true;
            continue;
        }
        if (arg == "--csv-safe") {
            o.csvSafe = true;
            continue;
        }
        if (arg == "--skip-damaged") {
            o.skipDamaged = true;
            continue;
        }
        if (arg == "--") {
            for (++i; i < args.size(); ++i)
                files.push_back(args[i]);
            break;
        }
        if (arg.size() < 2 || arg.front() != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg.substr(0, 2) != "--")
            return bad("unknown option " + std::string(arg));
        // --name VALUE or --name=VALUE
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        static constexpr std::array<std::string_view, 14> kValued
            = {"--settings", "--ignore-autoplay", "--ignore-scratch", "--min-score", "--from", "--to", "--view",
                "--period", "--at", "--format", "--title", "--search", "--session-gap", "--year"};
        bool known = false;
        for (std::string_view k : kValued)
            known = known || k == name;
        if (!known)
            return bad("unknown option " + std::string(name));
        std::string_view value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return bad(std::string(name) + " needs a value");
        }
        const std::string_view v = trimSpaces(value);
        const std::string what = std::string(name) + ": ";

        if (name == "--settings") {
            o.settings = std::string(value);
        } else if (name == "--ignore-autoplay" || name == "--ignore-scratch") {
            const auto side = sideOf(v);
            if (!side)
                return bad(what + "the side must be 1P, 2P or 1P+2P, not \"" + std::string(value) + "\"");
            (name == "--ignore-autoplay" ? o.ignoreAutoplay : o.ignoreScratch) = side;
        } else if (name == "--min-score") {
            const auto score = SettingText::toWholeNumber(v);
            if (!score)
                return bad(what + "not a whole number that fits 32 bits: \"" + std::string(value) + "\"");
            o.minScore = score;
        } else if (name == "--from" || name == "--to" || name == "--at") {
            const auto date = parseDateTimeText(v);
            if (!date)
                return bad(what + "not a date (yyyy/mm/dd [h:mm:ss]): \"" + std::string(value) + "\"");
            (name == "--from" ? o.from : name == "--to" ? o.to : o.periodAt) = date;
        } else if (name == "--view") {
            const auto view = viewOf(v);
            if (!view)
                return bad(what + "unknown view \"" + std::string(value) + "\"");
            o.view = *view;
        } else if (name == "--format") {
            const auto format = formatOf(v);
            if (!format)
                return bad(what + "unknown format \"" + std::string(value) + "\"");
            o.format = *format;
        } else if (name == "--title") {
            o.title = std::string(value);
        } else if (name == "--search") {
            // Matched against the log's UTF-8 text, it must be text itself.
            if (!isWellFormedUtf8(value))
                return bad(what + "not UTF-8 text");
            o.search = std::string(value);
        } else if (name == "--session-gap") {
            const auto gap = sessionGapOf(v);
            if (!gap)
                return bad(what + "the gap must be a whole number of minutes from 1 to 1440, not \""
                    + std::string(value) + "\"");
            o.sessionGap = *gap;
        } else if (name == "--year") {
            const auto year = yearOf(v);
            if (!year)
                return bad(what + "the year must be a whole number from 1 to 9999, not \"" + std::string(value) + "\"");
            o.year = *year;
        } else if (name == "--period") {
            if (v.size() != 1 || v[0] < '1' || v[0] > '5')
                return bad(what + "the level must be 1 to 5, not \"" + std::string(value) + "\"");
            o.periodLevel = v[0] - '0';
        }
    }
    if (o.help || o.version)
        return ParsedOptions{o, {}};
    if (files.empty())
        return bad("no log file given");
    o.file = std::string(files.front());
    o.files.assign(files.begin(), files.end());
    // The span compares days: a --from after --to (both given) keeps no play.
    if (o.from && o.to && *o.from != 0.0 && *o.to != 0.0 && *o.from > *o.to)
        return bad("--from は --to より前の日付にしてください");
    if (o.periodLevel.has_value() != o.periodAt.has_value())
        return bad("--period and --at go together");
    if (o.periodLevel && o.view != View::Charts && o.view != View::All)
        return bad("--period and --at need --view charts or all");
    if (o.view == View::Song && !o.title)
        return bad("--view song needs --title");
    if (o.format == Format::Csv && !isTableView(o.view))
        return bad("--format csv needs a single table view: plays, title, artist, genre, score, maxcombo, song, "
                   "calendar, sessions or records");
    return ParsedOptions{o, {}};
}

std::string usageText()
{
    return "usage: tolvane-report [OPTIONS] FILE...\n"
           "\n"
           "Reads a play log (score.txt) and prints its analysis. Several logs are read\n"
           "as one history: merged in date order, each play once.\n"
           "\n"
           "  --settings INI           take the load filters from the Filter section of INI\n"
           "  --ignore-autoplay SIDE   drop autoplay plays of SIDE: 1P, 2P or 1P+2P\n"
           "  --ignore-scratch SIDE    drop auto-scratch plays of SIDE\n"
           "  --min-score N            drop plays that scored below N\n"
           "  --from DATE, --to DATE   keep plays within the span (yyyy/mm/dd [h:mm:ss]);\n"
           "                           the span compares days (a play's day at 0:00):\n"
           "                           a play on the --to day passes whatever its time,\n"
           "                           a --from with a time of day starts the day after\n"
           "  --view VIEW              summary (default), plays, title, artist, genre,\n"
           "                           score, maxcombo, charts, all, song, calendar,\n"
           "                           sessions, streaks, records, year\n"
           "  --title TEXT             with --view song: the song's whole title (any case)\n"
           "  --search TEXT            with --view plays: only rows whose title, artist or\n"
           "                           genre contains TEXT (case and width ignored)\n"
           "  --year YYYY              with --view year: the year (default: the last play's)\n"
           "  --session-gap MINUTES    with --view sessions, streaks or year: a gap over\n"
           "                           MINUTES (1-1440, default 30) starts a new session\n"
           "  --period LEVEL --at DATE draw the period chart at LEVEL 1-5 around DATE\n"
           "  --format FORMAT          text (default), json, csv (single table views;\n"
           "                           not streaks or year)\n"
           "  --csv-safe               with --format csv: a text starting with = + - @,\n"
           "                           a tab or a CR gets a leading ' so a spreadsheet\n"
           "                           does not run it as a formula (numbers unchanged)\n"
           "  --skip-damaged           read on past damaged entries and list them\n"
           "  --help, --version\n"
           "\n"
           "Exit status: 0 success, 1 the analysis failed, 2 bad usage.\n";
}

} // namespace tolvane::report
