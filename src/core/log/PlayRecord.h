#pragma once

#include "core/log/DateValue.h"
#include "core/log/TextPool.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tolvane {

// A text of a play: a view of text kept by the play list's text pool, so a
// record carries no strings of its own. A temporary string cannot make one:
// the view would outlive it.
class PlayText : public std::string_view {
public:
    using std::string_view::string_view;
    PlayText() = default;
    PlayText(std::string_view text)
        : std::string_view(text)
    {
    }
    PlayText(const std::string& text)
        : std::string_view(text)
    {
    }
    PlayText(std::string&& text) = delete;
    operator std::string() const { return std::string(data(), size()); }
};

// One accepted play, in the order of the data list's columns.
struct PlayRecord {
    std::int32_t no = 0; // 1, 2, 3, ... among the accepted plays
    PlayText dateTime; // the log's date-time text, unchanged
    PlayText title;
    PlayText artist;
    PlayText genre;
    double level = 0;
    double bpm = 0;
    double totalNotes = 0;
    std::int32_t score = 0;
    double maxCombo = 0;
    DateValue date = 0; // dateTime as a date value, kept so nobody parses it twice
    // The autoplay digit of line 5 and the auto-scratch digit of line 6, as read.
    std::int8_t autoplay = 0;
    std::int8_t autoScratch = 0;
    // Which of the history's logs the play came from, 0 for the first.
    std::uint16_t file = 0;
    // The title, artist or genre line held bytes that could not be decoded.
    bool unreadableText = false;
    // The numbers after "Great", "Good", "Bad" and "Poor" on the entry's last
    // line, in that order (see Judgement); NaN where the label is not there.
    std::array<double, 4> judgements{kNoJudgement, kNoJudgement, kNoJudgement, kNoJudgement};

    static constexpr double kNoJudgement = std::numeric_limits<double>::quiet_NaN();
    enum Judgement { Great, Good, Bad, Poor };
};

// The date of an entry, reported for every entry before any filter.
struct PlayDate {
    DateValue date = 0; // the day, at midnight
    int year = 0;
    int month = 0;
    int day = 0;
    int weekday = 0; // 1 = Sunday .. 7 = Saturday
    int hour = 0;
    int second = 0; // of the day, 0..86399
    long line = 0; // the entry's date line
};

} // namespace tolvane
