// tolvane-report: the analysis of a play log, without a window.
#include "core/analysis/RunTexts.h"
#include "core/history/PlayHistory.h"
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
#include "report/ReviewReport.h"
#include "report/TextReport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Standard output closed before the start: a file opened later must not take
// its place, so it gets one that refuses every write.
void keepStandardOutputClosed()
{
    if (::fcntl(STDOUT_FILENO, F_GETFD) < 0 && errno == EBADF) {
        const int fd = ::open("/dev/null", O_RDONLY);
        if (fd >= 0 && fd != STDOUT_FILENO) {
            ::dup2(fd, STDOUT_FILENO);
            ::close(fd);
        }
    }
}

// The status to exit with once everything is written: a write that failed
// is named, except a reader that went away (a closed pipe), which is no news.
int finished(int status)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    const int err = errno;
    if (err != EPIPE)
        std::fprintf(stderr, "tolvane-report: 書き込めません: %s\n", std::strerror(err != 0 ? err : EIO));
    return kFailed;
}

// Why the settings file named on the command line cannot be read, in the
// system's words; empty when it is a file that may be read.
std::string settingsFileProblem(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return std::strerror(EISDIR);
    if (!S_ISREG(st.st_mode))
        return "not a regular file";
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    using namespace tolvane;
    using namespace tolvane::report;

    keepStandardOutputClosed();
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(args);
    if (!parsed.options)
        return badUsage(parsed.error);
    const ReportOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return finished(0);
    }
    if (options.version) {
        std::printf("tolvane-report %s\n", TOLVANE_VERSION);
        return finished(0);
    }

    Filter filter;
    if (options.settings) {
        // Unlike the window's own settings file, one named here must be there.
        std::string error = settingsFileProblem(*options.settings);
        const auto ini = error.empty() ? IniFile::load(*options.settings, &error) : std::nullopt;
        if (!ini)
            return badUsage("cannot read the settings file " + *options.settings + ": " + error);
        filter = readFilterSettings(*ini);
    }
    filter = options.applyTo(filter);

    // Big writes go out in large blocks.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

    // Several logs are read as one history.
    std::vector<LogSource> logs;
    std::string named;
    for (const std::string& file : options.files) {
        logs.push_back({file});
        named += (named.empty() ? "" : " ") + file;
    }
    PlayHistory history;
    const RunOutcome outcome = history.load(logs, filter, GraphSettings{}, {}, options.skipDamaged);
    const Analysis& analysis = history.analysis();
    if (outcome.state != RunOutcome::State::Completed) {
        std::string message;
        for (const std::string& line : outcome.failure ? RunTexts::failure(*outcome.failure) : outcome.message)
            message += (message.empty() ? "" : " ") + line;
        const std::string blamed = outcome.failure && !outcome.failure->file.empty() ? outcome.failure->file : named;
        std::fprintf(stderr, "tolvane-report: %s: %s\n", blamed.c_str(), message.c_str());
        if (options.format == Format::Json && outcome.failure)
            writeJsonError(stdout, *outcome.failure);
        return finished(kFailed);
    }

    ReportData data{options, analysis, outcome, RunTexts::confirmation(named, filter), analysis.periodChart};
    if (options.view == View::Plays && options.search)
        data.playRows = PlaySearch(analysis.plays).matchingRows(*options.search);
    else
        data.playRows = allRows(analysis.plays);
    if (options.view == View::Song) {
        data.song = buildSongView(analysis.plays, data.playRows, analysis.rankings, options.title.value_or(""));
        if (!data.song) {
            const std::string title = options.title.value_or("");
            std::fprintf(stderr, "tolvane-report: %s: %s\n", named.c_str(), noSongMessage(title).c_str());
            if (options.format == Format::Json)
                writeJsonNoSong(stdout, title, options.files.size() > 1);
            return finished(kFailed);
        }
    }
    if (options.view == View::Year) {
        const int year = fillYearReview(data);
        if (!data.year) {
            std::fprintf(stderr, "tolvane-report: %s: %s\n", named.c_str(), noYearMessage(year).c_str());
            if (options.format == Format::Json)
                writeJsonNoYear(stdout, year, options.files.size() > 1);
            return finished(kFailed);
        }
    }
    if (options.periodLevel && options.periodAt) {
        const DateParts at = splitDate(*options.periodAt);
        ChartNavigation navigation = analysis.navigation;
        if (auto drawing = navigation.drawAt(*options.periodLevel, {at.year, at.month, at.day})) {
            data.periodChart = std::move(*drawing);
            data.chartCursor = navigation.cursor;
            data.dayCaption = navigation.dayCaption;
        }
    }

    switch (options.format) {
    case Format::Json: writeJsonReport(stdout, data); break;
    case Format::Csv: writeCsvReport(stdout, data); break;
    case Format::Text: writeTextReport(stdout, data); break;
    }
    return finished(0);
}
