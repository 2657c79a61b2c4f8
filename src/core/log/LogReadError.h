#pragma once

#include <cstdint>
#include <string>

namespace tolvane {

// Why reading a log failed. Open covers a file that cannot be opened or read;
// Format a line that breaks the log's layout.
struct LogReadError {
    enum class Kind { Open, Format };
    enum class Cause {
        CannotOpen, // the file cannot be opened or read
        ShortDateLine, // the date line has fewer than five characters
        BadDate, // the date cannot be read
        BadTime, // the time cannot be read
        ScoreTooLarge, // the score does not fit a 32-bit integer
        NumberTooLarge, // a number too large for any value (1E999)
        EndsInsideEntry, // the file ends before the entry's last line
        LineTooLong, // a line holds more than LineReader::kMaxLineBytes
    };

    Kind kind = Kind::Format;
    Cause cause = Cause::BadDate;
    long line = 0; // 1-based line of the cause; 0 when no line is to blame
    std::string detail; // the system's words for an open failure, or the text that failed
};

// An entry left out because it was damaged, when the reader was asked to go
// on past damage: the failure it would have ended the reading with.
struct SkippedEntry {
    long line = 0; // the line of the failure, as error.line
    // The words of the failure's cause line, as a failed run shows them
    // ("12行目: 日付を読み取れません。"). The reader leaves it empty: the words
    // belong to whoever shows the failure (the analysis run fills them in).
    std::string message;
    LogReadError error;
};

// An accepted play with a title, artist or genre line that did not decode
// (the bytes that could not be read show as U+FFFD).
struct UnreadableText {
    std::int32_t play = 0; // the play's number among the accepted plays
    long line = 0; // the entry's marker line
};

} // namespace tolvane
