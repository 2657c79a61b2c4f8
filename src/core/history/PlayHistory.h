#pragma once

#include "core/analysis/Analysis.h"
#include "core/analysis/AnalysisRun.h"
#include "core/history/EntryKeys.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane {

// The entries a follower found at the end of one log, as the reader gave them.
struct NewEntries final {
    std::vector<PlayDate> dates; // every entry's date, in file order
    std::vector<PlayRecord> plays; // the plays that passed the load filters
    std::vector<std::int32_t> playOfEntry; // the play of each entry, or -1
    std::vector<EntryKey> keys; // each entry's key, when the history has several logs
};

struct AppendOutcome final {
    enum class Kind {
        Added, // the entries are in the history (perhaps none of them as a play)
        Reload, // they cannot join the history where it ends: read the logs again
        Failed, // a play the rankings cannot take; nothing was added
    };
    Kind kind = Kind::Added;
    std::size_t firstRow = 0; // the data list's new rows: firstRow, firstRow + 1, ...
    std::size_t rows = 0;
    std::int32_t entries = 0; // entries added, accepted or not
    std::optional<AnalysisFailure> failure;
};

// The one history of plays the program shows: one or more logs read as one,
// and the figures built from it for its view span. It changes only through
// load (a new history, in place only when its run completes), append (what
// a followed log gained, folded in as a full read of the longer log would
// have) and narrow (another view span), all three through one FoldStep.
class PlayHistory final {
public:
    PlayHistory() = default;
    PlayHistory(const PlayHistory&) = delete;
    PlayHistory& operator=(const PlayHistory&) = delete;

    // skipDamaged reads on past damaged entries, listing them in the outcome.
    RunOutcome load(const std::vector<LogSource>& logs, const Filter& filter, const GraphSettings& graph,
        RunCallbacks callbacks = {}, bool skipDamaged = false);
    AppendOutcome append(std::size_t log, NewEntries&& added);
    // False when the span holds no entry: the figures are then those of nothing.
    bool narrow(ViewSpan span);
    // Forgets every log: the history of nothing.
    void clear();
    // The bar styles of the charts.
    void restyle(const GraphSettings& graph);

    const Analysis& analysis() const { return analysis_; }
    bool empty() const { return analysis_.plays.empty(); }
    const std::vector<LogOutcome>& logs() const { return logs_; }
    std::int32_t duplicates() const { return duplicates_; }
    // The pool that keeps the texts of the plays to come.
    const std::shared_ptr<TextPool>& texts() { return analysis_.plays.texts(); }

private:
    Analysis analysis_;
    std::vector<LogOutcome> logs_;
    std::int32_t duplicates_ = 0;
    std::int64_t lastSeconds_ = 0;
    std::vector<KeptEntry> lastKeys_;
};

} // namespace tolvane
