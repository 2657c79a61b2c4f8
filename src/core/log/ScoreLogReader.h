#pragma once

#include "core/log/Filter.h"
#include "core/log/LogReadError.h"
#include "core/log/PlayRecord.h"
#include "core/log/TextPool.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tolvane {

class LineReader;

// What the reader tells its caller while it reads, in file order.
struct LogReaderCallbacks {
    // Every entry's date, before any filter.
    std::function<void(const PlayDate&)> onPlayDate;
    // Every play that passes the filters.
    std::function<void(PlayRecord&&)> onPlay;
    // The share of the file read, in per cent; at most ten reports a run.
    std::function<void(int)> onProgress;
    // Called once every 200 entries, and after every MiB read without one, so
    // a window can repaint; return false to stop reading there.
    std::function<bool()> onYield;
};

struct LogReadResult {
    std::int32_t accepted = 0; // plays that passed the filters
    std::int32_t entries = 0; // entries read, accepted or not
    std::uint64_t sizeBytes = 0; // the file's size when it was opened
    std::int64_t yieldCounter = 0; // the pacing counter, for the caller to go on with
    // Where the reading ended: the byte offset past the last line read and
    // that line's number.
    std::uint64_t endOffset = 0;
    long endLine = 0;
    bool stoppedAtMaxtime = false; // a play past the span's end ended the reading
    bool cancelled = false; // the yield callback asked to stop
    std::optional<LogReadError> error;
    // With LogReadOptions::skipDamaged, the entries (and lines too long) left
    // out, in file order. They count in entries, but their dates are not
    // handed on: the date may be what is damaged.
    std::vector<SkippedEntry> skipped;
    // The accepted plays whose texts could not all be decoded, in order.
    std::vector<UnreadableText> unreadable;
    // Holds the texts of the plays handed on; they stay valid while it lives.
    std::shared_ptr<TextPool> texts;

    bool ok() const { return !error && !cancelled; }
};

// How a log is read. A large log may be read in parts on several threads;
// what the reader hands on, and in which order, is the same either way.
struct LogReadOptions {
    // Threads that read parts; 0 for as many as the process may run on.
    int threads = 1;
    // The bytes of a part; 0 to choose from the file's size. A log smaller
    // than two parts is read on one thread, and so is one under
    // kMinParallelBytes when the reader chooses: it takes a few hundredths of
    // a second anyway.
    std::uint64_t partBytes = 0;
    // Go on past a damaged entry (a line of the layout that cannot be read,
    // a number out of range, the file ending inside the entry, a line too
    // long) at the next marker line after the line that failed, instead of
    // failing there. Failures to open or read the file still end the reading.
    bool skipDamaged = false;
    static constexpr std::uint64_t kMinParallelBytes = std::uint64_t{8} << 20;
};

// Reads the game's play log in one pass: finds the entries, takes the fields
// of each play, applies the load filters and hands every accepted play on.
// The callbacks are always called on the thread that calls read.
class ScoreLogReader final {
public:
    static constexpr std::string_view kMarker = "[Start of Score] : 申請する時は、この行から切り取る";
    static constexpr int kYieldEvery = 200;
    // Lines that are no entries yield by bytes: a long stretch of them
    // (junk, or a file that is no log) must not hold the window.
    static constexpr std::uint64_t kYieldEveryBytes = std::uint64_t{1} << 20;

    // The plays' texts go to texts, or to a pool of the reader's own that the
    // result hands on.
    ScoreLogReader(const Filter& filter, LogReaderCallbacks callbacks, std::shared_ptr<TextPool> texts = nullptr,
        LogReadOptions options = {});

    // The cores this process may run on.
    static int availableCores();

    LogReadResult read(const std::filesystem::path& file);
    // The same on bytes in memory (a whole file's content).
    LogReadResult readBytes(std::string_view bytes);
    // The same on lines already opened.
    LogReadResult read(LineReader& lines);

private:
    Filter filter_;
    LogReaderCallbacks callbacks_;
    std::shared_ptr<TextPool> texts_;
    LogReadOptions options_;
};

} // namespace tolvane
