// tolvane-report: the analysis of a play log, without a window.
#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/analysis/RunTexts.h"
#include "core/insights/PlayRows.h"
#include "core/insights/PlaySearch.h"
#include "core/insights/SongView.h"
#include "core/settings/FilterSettings.h"
#include "core/settings/IniFile.h"
#include "report/CsvReport.h"
#include "report/InsightReport.h"
#include "report/JsonReport.h"
#include "report/ReportData.h"
#include "report/ReportOptions.h"
#include "report/TextReport.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifndef TOLVANE_VERSION
#define TOLVANE_VERSION "0"
#endif

namespace {

constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

int badUsage(const std::string& message)
{
    std::fprintf(stderr, "tolvane-report: %s (see tolvane-report --help)\n", message.c_str());
    return kBadUsage;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace tolvane;
    using namespace tolvane::report;

    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(args);
    if (!parsed.options)
        return badUsage(parsed.error);
    const ReportOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tolvane-report %s\n", TOLVANE_VERSION);
        return 0;
    }

    Filter filter;
    if (options.settings) {
        // Unlike the window's own settings file, one named here must be there.
        std::string error = "no such file";
        std::error_code ec;
        const auto ini = std::filesystem::is_regular_file(*options.settings, ec)
            ? IniFile::load(*options.settings, &error)
            : std::nullopt;
        if (!ini)
            return badUsage("cannot read the settings file " + *options.settings + ": " + error);
        filter = readFilterSettings(*ini);
    }
    filter = options.applyTo(filter);

    // Big writes go out in large blocks.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

    Analysis analysis;
    const RunOutcome outcome
        = AnalysisRun(analysis, filter, GraphSettings{}, {}, options.skipDamaged).run(options.file);
    if (outcome.state != RunOutcome::State::Completed) {
        std::string message;
        for (const std::string& line : outcome.message)
            message += (message.empty() ? "" : " ") + line;
        std::fprintf(stderr, "tolvane-report: %s: %s\n", options.file.c_str(), message.c_str());
        if (options.format == Format::Json && outcome.failure)
            writeJsonError(stdout, *outcome.failure);
        return kFailed;
    }

    ReportData data{options, analysis, outcome, RunTexts::confirmation(options.file, filter), analysis.periodChart};
    if (options.view == View::Plays && options.search)
        data.playRows = PlaySearch(analysis.plays).matchingRows(*options.search);
    else
        data.playRows = allRows(analysis.plays);
    if (options.view == View::Song) {
        data.song = buildSongView(analysis.plays, data.playRows, analysis.rankings, options.title.value_or(""));
        if (!data.song) {
            const std::string title = options.title.value_or("");
            std::fprintf(stderr, "tolvane-report: %s: %s\n", options.file.c_str(), noSongMessage(title).c_str());
            if (options.format == Format::Json)
                writeJsonNoSong(stdout, title);
            return kFailed;
        }
    }
    if (options.periodLevel && options.periodAt) {
        const DateParts at = splitDate(*options.periodAt);
        if (auto drawing = analysis.navigation.drawAt(*options.periodLevel, {at.year, at.month, at.day}))
            data.periodChart = std::move(*drawing);
    }

    switch (options.format) {
    case Format::Json: writeJsonReport(stdout, data); break;
    case Format::Csv: writeCsvReport(stdout, data); break;
    case Format::Text: writeTextReport(stdout, data); break;
    }
    return std::ferror(stdout) ? kFailed : 0;
}
