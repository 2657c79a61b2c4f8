#pragma once

#include "core/analysis/AnalysisFailure.h"
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

struct RunOutcome {
    enum class State { Completed, Failed, Cancelled };
    State state = State::Failed;
    std::optional<AnalysisFailure> failure;
    std::uint64_t sizeBytes = 0;
    std::int32_t entries = 0; // entries read, accepted or not
    std::int32_t accepted = 0; // rows of the data list
    // Where the reading ended: the byte offset past the last line read and
    // that line's number, so that a follower can go on from there.
    std::uint64_t endOffset = 0;
    long endLine = 0;
    bool stoppedAtMaxtime = false; // a play past the span's end ended the reading
    std::string history; // the play-history text
    // Read with skipDamaged: the damaged entries left out, with the words of
    // their failures, and the accepted plays whose texts did not all decode.
    std::vector<SkippedEntry> skipped;
    std::vector<UnreadableText> unreadable;
    // The completion message, or the failure message; empty when cancelled.
    std::vector<std::string> message;
};

// One Open command after its confirmation: clears the last results, reads the
// log into the data list while counting every entry for the charts, builds
// the rankings, draws the charts and applies the bar styles. Whatever fails,
// what was built so far stays, except when memory runs out: then the results
// are cleared, to give the memory back, and the run fails like any other.
class AnalysisRun final {
public:
    static constexpr int kYieldEvery = 200;

    // skipDamaged reads on past damaged entries (LogReadOptions::skipDamaged).
    AnalysisRun(Analysis& analysis, const Filter& filter, const GraphSettings& graph, RunCallbacks callbacks,
        bool skipDamaged = false);

    RunOutcome run(const std::filesystem::path& file);
    // The same on a log in memory.
    RunOutcome runBytes(std::string_view bytes);

private:
    RunOutcome run(LineReader& lines);
    RunOutcome outOfMemory();
    void clearResults();
    bool rankPlays(std::int64_t& yieldCounter, RunOutcome& outcome);
    void status(const std::string& text);
    void caption(const std::string& text, bool onlyWhenMinimised);

    Analysis& analysis_;
    Filter filter_;
    GraphSettings graph_;
    RunCallbacks callbacks_;
    bool skipDamaged_ = false;
};

} // namespace tolvane
