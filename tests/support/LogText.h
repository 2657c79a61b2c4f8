#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tolvane::testing {

// The lines of one log entry, with the fields tests like to vary.
struct EntryText {
    std::string marker = "[Start of Score] : 申請する時は、この行から切り取る";
    std::string date = "Date:2001/05/03 12:00:00";
    std::string title = "Title:桜～さくら～   Artist:ゆきんこ";
    std::string genre = "Genre:和風   PlayLevel:4";
    std::string bpm = "BPM:96";
    std::string autoplay = "AutoPlay Mode       :0";
    std::string autoScratch = "AutoScratch:0";
    std::string score = "Total Notes         :300   Score 114460";
    std::string judge = "Great 210   Good 90   Bad 5   Poor 11   MaxCombo 166";

    // The entry's lines joined with the line end given (UTF-8).
    std::string text(std::string_view lineEnd = "\r\n") const;
};

// Entries joined into a log in code page 932 with CR LF line ends.
std::string logOf(std::initializer_list<EntryText> entries);

} // namespace tolvane::testing
