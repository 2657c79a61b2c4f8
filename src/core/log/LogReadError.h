#pragma once

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

} // namespace tolvane
