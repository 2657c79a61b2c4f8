#pragma once

#include "core/insights/Sessions.h"
#include "core/log/Filter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::report {

enum class View {
    Summary,
    Plays,
    Title,
    Artist,
    Genre,
    Score,
    MaxCombo,
    Charts,
    All,
    Song,
    Calendar,
    Sessions,
    Streaks,
    Records,
    Year
};
enum class Format { Text, Json, Csv };

struct ReportOptions {
    std::string file; // the first log
    std::vector<std::string> files; // every log, as given
    std::optional<std::string> settings;
    View view = View::Summary;
    Format format = Format::Text;
    std::optional<int> periodLevel;
    std::optional<DateValue> periodAt;

    // Filter options from the command line; each overrides the settings file.
    std::optional<std::int16_t> ignoreAutoplay;
    std::optional<std::int16_t> ignoreScratch;
    std::optional<std::int32_t> minScore;
    std::optional<DateValue> from;
    std::optional<DateValue> to;

    // The insight views' options, each ignored by the views that do not use it.
    std::optional<std::string> title; // --view song: the song's whole title, as typed
    std::optional<std::string> search; // --view plays: keep the rows containing this, as typed
    int sessionGap = kDefaultSessionGap; // minutes, for --view sessions, streaks and year
    std::optional<int> year; // --view year: 1 to 9999; the last play's year without it
    bool csvSafe = false; // --format csv: texts that look like formulas start with "'"

    bool skipDamaged = false; // --skip-damaged: read on past damaged entries and list them
    bool help = false;
    bool version = false;

    // The settings' filters with the command line's on top.
    Filter applyTo(Filter filter) const;
};

// Either the options, or the one-line reason the command line is wrong.
struct ParsedOptions {
    std::optional<ReportOptions> options;
    std::string error;
};

ParsedOptions parseOptions(const std::vector<std::string_view>& args);

std::string usageText();

} // namespace tolvane::report
