#pragma once

#include "core/log/Filter.h"
#include "core/log/ScoreLogReader.h"

#include <cstdint>

namespace tolvane {

class LineReader;
class TextPool;

// The bytes of a part when a log of size bytes is read on threads threads:
// enough parts for the threads to share the work evenly, none so small that
// starting it costs more than reading it.
std::uint64_t partBytesFor(std::uint64_t size, int threads);

// Reads lines, from where they stand, in parts of about partBytes on threads
// threads, and hands on what they hold in file order on the calling thread:
// the same plays, dates, errors and line numbers as one pass over the whole.
// Parts begin at lines that start like an entry marker; a part whose first
// entry turns out to be inside the entry before it is read again from where
// that entry ended. With skipDamaged, damaged entries are skipped as one
// pass skips them.
LogReadResult readInParallel(LineReader& lines, const Filter& filter, const LogReaderCallbacks& callbacks,
    TextPool& texts, int threads, std::uint64_t partBytes, bool skipDamaged = false);

} // namespace tolvane
