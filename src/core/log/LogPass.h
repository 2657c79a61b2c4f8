#pragma once

#include "core/log/Filter.h"
#include "core/log/ScoreLogReader.h"
#include "core/log/TextPool.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tolvane {

class LineReader;

// Every entry marker starts with these bytes, in either encoding.
constexpr std::string_view kMarkerPrefix = "[Start of Score] : ";

// What one reader has learnt from the lines it read, kept across the parts of
// a log it reads so that a part need not learn it again. Its views point into
// the text pools the parts were read with.
struct LogPassMemory {
    // Lines 2 and 3 seen before, by their bytes, with what they gave; at most
    // kMaxSeenLines each and only lines of ordinary length, so a log of all
    // different or absurdly long songs costs little more.
    struct TitleLine {
        std::string_view title;
        std::string_view artist;
        bool unreadable;
    };
    struct GenreLine {
        std::string_view genre;
        double level;
        bool unreadable;
    };
    static constexpr std::size_t kMaxSeenLines = 1 << 16;
    static constexpr std::size_t kMaxSeenLineBytes = 512;
    std::unordered_map<std::string_view, TitleLine> titleLines;
    std::unordered_map<std::string_view, GenreLine> genreLines;
    // The last date text read and its day: plays of one day come together.
    std::string lastDateText;
    std::optional<std::int64_t> lastDay;
    // The bytes of a line known to be a marker.
    std::string markerBytes;
};

// Reads the entries of lines from where they stand, going on past damaged
// entries when skipDamaged is set (see LogReadOptions). With stopAt, it stops
// before the first line that starts at byte stopAt or later with kMarkerPrefix
// while it is not inside an entry: where the next part of the log begins.
// Line numbers in what it reports are those of lines (1 for its first line).
// reachedStop, when given, tells whether it stopped there.
LogReadResult readLogPass(LineReader& lines, const Filter& filter, const LogReaderCallbacks& callbacks, TextPool& texts,
    LogPassMemory& memory, bool skipDamaged = false, std::uint64_t stopAt = 0, bool* reachedStop = nullptr);

} // namespace tolvane
