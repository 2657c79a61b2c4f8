#pragma once

#include "core/log/LogReadError.h"

#include <string>

namespace tolvane {

// Why an Open command ended without its completion message.
struct AnalysisFailure {
    enum class Kind {
        Open, // the file cannot be opened or read (or not in full, for want of memory)
        Format, // a line breaks the log's layout, or a number does not fit
        NoPlays, // no play passed the load filters, or the file holds no entry at all
    };
    enum class Cause {
        CannotOpen,
        ShortDateLine,
        BadDate,
        BadTime,
        ScoreTooLarge,
        NumberTooLarge,
        EndsInsideEntry,
        LineTooLong,
        MaxComboTooLarge, // found while the rankings are built, so no line
        NoPlays, // entries were read, but the load filters turned every one away
        NoEntries, // not one entry marker in the whole file
        OutOfMemory, // the run ran out of memory, wherever it was
    };

    Kind kind = Kind::Format;
    Cause cause = Cause::NoPlays;
    long line = 0; // 1-based line of the log to blame; 0 when none
    std::string detail;
    // With several logs: whether the failure has a log to blame (file), or
    // was found in the merged history (fileNamed with file empty). One log's
    // failure names none.
    bool fileNamed = false;
    std::string file;

    static AnalysisFailure fromReadError(const LogReadError& error);
    // A play whose max combo the rankings cannot take.
    static AnalysisFailure maxComboTooLarge(double maxCombo);
};

} // namespace tolvane
