#include "core/settings/SettingsFile.h"

#include "core/log/DateValue.h"
#include "core/log/NumericValue.h"
#include "core/settings/SettingText.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace tolvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kFilter = "Filter";
constexpr std::string_view kGraph = "Graph";
constexpr std::string_view kFiles = "Files";
constexpr std::string_view kSessions = "Sessions";
constexpr std::size_t kShortLimit = 9;
constexpr std::size_t kLongLimit = 14;
constexpr std::size_t kPathLimit = 4096;

// How a key's text becomes its setting's value, which values it may hold,
// and how it is written.
enum class Form {
    Placement, // window edge or size, twips; written only from the normal state
    WindowState, // written from the window's state at closing
    Width, // column width, twips
    Flag,
    Side,
    WholeNumber,
    Date,
    Color,
    PatternColor,
    Pattern,
    Path, // a file or folder path, written in quotes so blanks at its ends survive
    SessionGap, // minutes, 1..1440
};

// WindowState is an int and MinScore an int32_t: one type here.
static_assert(std::is_same_v<int, std::int32_t>);
using Field = std::variant<double*, bool*, std::int16_t*, std::int32_t*, std::string*>;
using FieldOf = Field (*)(ProgramSettings&, std::size_t);

struct Key final {
    std::string_view section;
    std::string name; // as read
    std::string writtenName;
    std::string_view defaultText;
    std::size_t limit;
    Form form;
    FieldOf field;
    std::size_t number; // the column or chart the key belongs to
};

// Every key, in the order the file is written.
const std::vector<Key>& keys()
{
    static const std::vector<Key> table = [] {
        std::vector<Key> t;
        const auto add = [&t](std::string_view section, std::string name, std::string_view defaultText,
                             std::size_t limit, Form form, FieldOf field, std::size_t number = 0) {
            t.push_back({section, name, name, defaultText, limit, form, field, number});
        };
        add(kSettings, "MainLeft", "1000", kShortLimit, Form::Placement,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.window.MainLeft; });
        add(kSettings, "MainTop", "1000", kShortLimit, Form::Placement,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.window.MainTop; });
        add(kSettings, "MainWidth", "6500", kShortLimit, Form::Placement,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.window.MainWidth; });
        add(kSettings, "MainHeight", "6500", kShortLimit, Form::Placement,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.window.MainHeight; });
        add(kSettings, "WindowState", "0", kShortLimit, Form::WindowState,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.window.WindowState; });
        for (std::size_t n = 1; n <= 10; ++n) {
            const std::string column = "(" + std::to_string(n) + ")";
            add(
                kSettings, "ListView1" + column, "2000", kShortLimit, Form::Width,
                [](ProgramSettings& s, std::size_t i) -> Field { return &s.window.columnWidths.at(i - 1); }, n);
            // Written with a small v; the name is found in any letter case.
            t.back().writtenName = "Listview1" + column;
        }
        add(kFilter, "IgnoreScrach", "False", kShortLimit, Form::Flag,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.IgnoreScrach; });
        add(kFilter, "IgnoreAutoplay", "False", kShortLimit, Form::Flag,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.IgnoreAutoplay; });
        add(kFilter, "ScoreFilter", "False", kShortLimit, Form::Flag,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.ScoreFilter; });
        add(kFilter, "SpanFilter", "False", kShortLimit, Form::Flag,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.SpanFilter; });
        add(kFilter, "optIgnoreAuto", "0", kShortLimit, Form::Side,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.optIgnoreAuto; });
        add(kFilter, "optIgnoreScr", "0", kShortLimit, Form::Side,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.optIgnoreScr; });
        add(kFilter, "MinScore", "0", kShortLimit, Form::WholeNumber,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.MinScore; });
        add(kFilter, "Maxtime", "0", kLongLimit, Form::Date,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.Maxtime; });
        add(kFilter, "Mintime", "0", kLongLimit, Form::Date,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.filter.Mintime; });
        // Charts are stored as Graph1, Graph2, ... in the order of their settings.
        for (std::size_t n = 1; n <= kTrendChartCount; ++n) {
            const std::string chart = "Graph" + std::to_string(n);
            add(
                kGraph, chart + "Color", "65536", kLongLimit, Form::Color,
                [](ProgramSettings& s, std::size_t i) -> Field { return &s.graph.Color.at(i - 1); }, n);
            add(
                kGraph, chart + "PatternColor", "65536", kLongLimit, Form::PatternColor,
                [](ProgramSettings& s, std::size_t i) -> Field { return &s.graph.PatternColor.at(i - 1); }, n);
            add(
                kGraph, chart + "Pattern", "-1", kShortLimit, Form::Pattern,
                [](ProgramSettings& s, std::size_t i) -> Field { return &s.graph.Pattern.at(i - 1); }, n);
        }
        add(kFiles, "ReopenLast", "True", kShortLimit, Form::Flag,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.files.reopenLast; });
        add(kFiles, "FollowLog", "True", kShortLimit, Form::Flag,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.files.followLog; });
        add(kFiles, "LastFolder", "", kPathLimit, Form::Path,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.files.lastFolder; });
        for (std::size_t n = 1; n <= 5; ++n) {
            add(
                kFiles, "Recent" + std::to_string(n), "", kPathLimit, Form::Path,
                [](ProgramSettings& s, std::size_t i) -> Field { return &s.files.recent.at(i - 1); }, n);
        }
        add(kSessions, "Gap", "30", kShortLimit, Form::SessionGap,
            [](ProgramSettings& s, std::size_t) -> Field { return &s.sessions.gapMinutes; });
        return t;
    }();
    return table;
}

bool inRange(Form form, double value)
{
    switch (form) {
    case Form::Placement:
    case Form::Width: return std::fabs(value) <= FLT_MAX;
    case Form::WindowState: return value == std::trunc(value) && value >= INT_MIN && value <= INT_MAX;
    case Form::Flag: return true;
    case Form::Side: return value >= 0 && value <= 2;
    case Form::WholeNumber:
    case Form::PatternColor: return value >= INT32_MIN && value <= INT32_MAX;
    case Form::Date: {
        // Years 1 to 9999, the years a date text can hold.
        static const double first = static_cast<double>(serialDay(1, 1, 1));
        static const double afterLast = static_cast<double>(serialDay(10000, 1, 1));
        return value >= first && value < afterLast;
    }
    // Written whole, the colour must still fit the read limit to come back.
    case Form::Color: return std::fabs(value) < 1e13;
    case Form::Pattern: return value >= -1 && value <= 17;
    case Form::Path: return true;
    case Form::SessionGap: return value >= 1 && value <= 1440;
    }
    return false;
}

// The stored text as its setting's value; nothing when the text cannot be
// converted or the value lies outside the setting's range.
std::optional<double> parse(Form form, std::string_view text)
{
    std::optional<double> value;
    switch (form) {
    case Form::Placement:
    case Form::WindowState:
    case Form::Width:
    case Form::Color: value = numericValue(text); break;
    case Form::Flag:
        if (const auto flag = SettingText::toFlag(text))
            value = *flag ? 1.0 : 0.0;
        break;
    case Form::Side:
    case Form::Pattern:
        if (const auto number = toInt16(numericValue(text)))
            value = *number;
        break;
    case Form::WholeNumber:
    case Form::SessionGap:
        if (const auto number = SettingText::toWholeNumber(text))
            value = *number;
        break;
    case Form::Date: value = SettingText::toDate(text); break;
    case Form::Path: break;
    case Form::PatternColor:
        if (const auto number = toInt32(numericValue(text)))
            value = *number;
        break;
    }
    if (value && !inRange(form, *value))
        return std::nullopt;
    return value;
}

std::string format(Form form, double value)
{
    switch (form) {
    case Form::Placement:
    case Form::Width: return SettingText::singleText(value);
    case Form::Flag: return SettingText::flagText(value != 0);
    case Form::Date: return SettingText::dateText(value);
    case Form::WindowState:
    case Form::Side:
    case Form::WholeNumber:
    case Form::Color:
    case Form::PatternColor:
    case Form::Pattern:
    case Form::Path: break;
    case Form::SessionGap: break;
    }
    return SettingText::wholeText(value);
}

double defaultValue(const Key& key)
{
    return parse(key.form, key.defaultText).value();
}

void store(Field field, double value)
{
    std::visit(
        [value](auto* p) {
            if constexpr (!std::is_same_v<decltype(p), std::string*>)
                *p = static_cast<std::remove_pointer_t<decltype(p)>>(value);
        },
        field);
}

double valueOf(Field field)
{
    return std::visit(
        [](auto* p) {
            if constexpr (std::is_same_v<decltype(p), std::string*>)
                return 0.0;
            else
                return static_cast<double>(*p);
        },
        field);
}

// A path the file can hold: one line. Quotes keep blanks at its ends, and
// reading takes off exactly that one pair.
std::string pathText(const std::string& path)
{
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos)
        return {};
    return '"' + path + '"';
}

bool isWritableFolder(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// A program installed by the system's package manager shares its folder
// with every other program: settings never go there, even for root.
bool isSystemProgramFolder(const fs::path& folder)
{
    const fs::path normal = folder.lexically_normal();
    for (const char* system : {"/usr", "/bin", "/sbin", "/opt"}) {
        const fs::path root(system);
        const auto [end, at] = std::mismatch(root.begin(), root.end(), normal.begin(), normal.end());
        if (end == root.end())
            return true;
    }
    return false;
}

fs::path configFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && fs::path(config).is_absolute())
        return config;
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".config";
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return fs::path(user->pw_dir) / ".config";
    return {};
}

} // namespace

ProgramSettings readSettings(const IniFile& ini)
{
    ProgramSettings settings;
    for (const Key& key : keys()) {
        if (key.form == Form::Path) {
            *std::get<std::string*>(key.field(settings, key.number))
                = ini.getString(key.section, key.name, key.defaultText, key.limit);
            continue;
        }
        const auto value = parse(key.form, ini.getString(key.section, key.name, key.defaultText, key.limit));
        store(key.field(settings, key.number), value ? *value : defaultValue(key));
    }
    return settings;
}

void writeSettings(IniFile& ini, const ProgramSettings& settings, WindowPlacement placement)
{
    // The table's fields belong to a settings object it may fill; writing only
    // reads them, from a copy.
    ProgramSettings values = settings;
    for (const Key& key : keys()) {
        double value = 0;
        if (key.form == Form::Path) {
            ini.setString(
                key.section, key.writtenName, pathText(*std::get<std::string*>(key.field(values, key.number))));
            continue;
        }
        if (key.form == Form::WindowState) {
            if (placement == WindowPlacement::Minimised)
                continue;
            value = placement == WindowPlacement::Maximised ? 2 : 0;
        } else if (key.form == Form::Placement && placement != WindowPlacement::Normal) {
            continue;
        } else {
            value = valueOf(key.field(values, key.number));
            // The file never holds a value that would read back as another one.
            if (!inRange(key.form, value))
                value = defaultValue(key);
        }
        ini.setString(key.section, key.writtenName, format(key.form, value));
    }
}

fs::path settingsPath(const fs::path& programFolder)
{
    const fs::path beside = programFolder / "Tolvane.ini";
    std::error_code ec;
    if (!isSystemProgramFolder(programFolder) && (fs::exists(beside, ec) || isWritableFolder(programFolder)))
        return beside;
    const fs::path config = configFolder();
    // With no home to go to, the program's folder it is; saving will say why it failed.
    return config.empty() ? beside : config / "Tolvane" / "Tolvane.ini";
}

std::optional<IniFile> loadSettingsFile(const fs::path& path, std::string* error)
{
    return IniFile::load(path, error);
}

bool saveSettingsFile(
    const fs::path& path, const ProgramSettings& settings, WindowPlacement placement, std::string* error)
{
    const auto fail = [error](std::string why) {
        if (error)
            *error = std::move(why);
        return false;
    };
    std::string why;
    std::optional<IniFile> ini = IniFile::load(path, &why);
    // Saving over a file that could not be read would lose what it holds.
    if (!ini)
        return fail(path.string() + ": " + why);
    writeSettings(*ini, settings, placement);
    if (path.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec)
            return fail(path.parent_path().string() + ": " + ec.message());
    }
    return ini->save(path, error);
}

} // namespace tolvane
