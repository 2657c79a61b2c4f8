#pragma once

#include <cstdint>
#include <vector>

namespace tolvane {

class LineReader;

// What makes two entries of different logs the same play: the text of their
// lines from the date line to the max-combo line (the entry's 8th line, or
// its 9th when the 8th is not the judgement line), as far as the log has them
// before the next entry marker, decoded as the reader decodes them and
// without line ends. Kept as a 128-bit digest of those lines.
struct EntryKey final {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    friend bool operator==(const EntryKey&, const EntryKey&) = default;
};

// An entry kept in a history of several logs, and the log it came from.
struct KeptEntry final {
    EntryKey key;
    std::uint16_t log = 0;
};

// The keys of the entries whose date lines are dateLines (ascending line
// numbers of lines, as the reader reported them), in that order. Reads lines
// from where they stand to the last of those entries.
std::vector<EntryKey> entryKeys(LineReader& lines, const std::vector<long>& dateLines);

} // namespace tolvane
