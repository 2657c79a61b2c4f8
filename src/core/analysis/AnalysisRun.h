#pragma once

#include "core/analysis/AnalysisFailure.h"
#include "core/history/EntryKeys.h"
#include "core/log/Filter.h"
#include "core/log/LogReadError.h"
#include "core/trends/ChartStyle.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class Analysis;
class LineReader;

struct RunCallbacks {
    // The status bar's text.
    std::function<void(const std::string&)> onStatus;
    // The window caption: the progress texts are meant for a minimised window
    // only (onlyWhenMinimised); the last one, "Tolvane", is for any window.
    std::function<void(const std::string&, bool onlyWhenMinimised)> onCaption;
    // Called every 200 entries, after every MiB of the log read without an
    // entry's call, every 200 ranked rows and between the drawing steps, so a
    // window can repaint; return false to stop the run there.
    std::function<bool()> onYield;
};

// One log of a run: its path, and its bytes when it is read from memory.
struct LogSource {
    std::filesystem::path path;
    std::optional<std::string_view> bytes = std::nullopt;
};

// What a run read from one of its logs.
struct LogOutcome {
    std::filesystem::path path;
    std::uint64_t sizeBytes = 0;
    std::int32_t entries = 0; // entries read, accepted or not
    std::int32_t accepted = 0; // its plays in the data list (duplicates left out)
    std::int32_t duplicates = 0; // its entries dropped as copies of another log's
    // Where the reading of this log ended, for a follower to go on from there.
    std::uint64_t endOffset = 0;
    long endLine = 0;
    bool stoppedAtMaxtime = false;
};

struct RunOutcome {
    enum class State { Completed, Failed, Cancelled };
    State state = State::Failed;
    std::optional<AnalysisFailure> failure;
    std::uint64_t sizeBytes = 0; // of every log
    std::int32_t entries = 0; // entries read, accepted or not, duplicates included
    std::int32_t accepted = 0; // rows of the data list
    std::int32_t duplicates = 0; // entries dropped as copies of another log's
    // Where the reading ended: the byte offset past the last line read and
    // that line's number, so that a follower can go on from there (the first log's).
    std::uint64_t endOffset = 0;
    long endLine = 0;
    bool stoppedAtMaxtime = false; // a play past the span's end ended the reading
    std::vector<LogOutcome> logs; // one for each log, in the order given
    // With several logs, the keys of the entries at the latest time of the
    // history, so that a followed log's new entries can be told from copies.
    std::int64_t lastSeconds = 0;
    std::vector<KeptEntry> lastKeys;
    std::string history; // the play-history text
    // Read with skipDamaged: the damaged entries left out, with the words of
    // their failures, and the accepted plays whose texts did not all decode.
    std::vector<SkippedEntry> skipped;
    std::vector<UnreadableText> unreadable;
    // The completion message, or the failure message; empty when cancelled.
    std::vector<std::string> message;
};

// One Open command after its confirmation: reads the logs, merges them into
// one history when there are several (see the README: in date order, each
// play once), folds every entry and play into the rankings and charts, draws
// the charts and applies the bar styles. The results are built apart and
// take the analysis's place only when the run completes: after a failure or
// a stop the analysis holds what it held before.
class AnalysisRun final {
public:
    static constexpr int kYieldEvery = 200;

    // skipDamaged reads on past damaged entries (LogReadOptions::skipDamaged).
    AnalysisRun(Analysis& analysis, const Filter& filter, const GraphSettings& graph, RunCallbacks callbacks,
        bool skipDamaged = false);

    RunOutcome run(const std::filesystem::path& file);
    RunOutcome run(const std::vector<LogSource>& logs);
    // The same on a log in memory.
    RunOutcome runBytes(std::string_view bytes);

private:
    struct LogPart;

    RunOutcome runLogs(const std::vector<LogSource>& logs);
    bool readOne(const LogSource& log, Analysis& fresh, RunOutcome& outcome, std::int64_t& yieldCounter);
    bool readSeveral(
        const std::vector<LogSource>& logs, Analysis& fresh, RunOutcome& outcome, std::int64_t& yieldCounter);
    bool fold(Analysis& fresh, std::int64_t& yieldCounter, RunOutcome& outcome);
    bool keepGoing(RunOutcome& outcome);
    void status(const std::string& text);
    void caption(const std::string& text, bool onlyWhenMinimised);

    Analysis& analysis_;
    Filter filter_;
    GraphSettings graph_;
    RunCallbacks callbacks_;
    bool skipDamaged_ = false;
};

} // namespace tolvane
