#include "core/export/PlayCellText.h"

#include <charconv>
#include <cmath>

namespace tolvane {

std::string_view PlayCellText::operator()(const PlayRecord& p, int column)
{
    switch (column) {
    case 0: return integer(p.no);
    case 1: return p.dateTime;
    case 2: return p.title;
    case 3: return p.artist;
    case 4: return p.genre;
    case 5: return number(p.level);
    case 6: return number(p.bpm);
    case 7: return number(p.totalNotes);
    case 8: return integer(p.score);
    case 9: return number(p.maxCombo);
    default: return {};
    }
}

std::string_view PlayCellText::integer(std::int64_t value)
{
    const auto end = std::to_chars(room_.data(), room_.data() + room_.size(), value).ptr;
    return {room_.data(), static_cast<std::size_t>(end - room_.data())};
}

// numberText's text. Whole numbers below 10^15 come out digit for digit in 15
// significant digits, so they take the quick integer path.
std::string_view PlayCellText::number(double value)
{
    if (value == 0.0)
        return "0"; // also for -0
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return integer(static_cast<std::int64_t>(value));
    char* const begin = room_.data();
    const auto [end, ec] = std::to_chars(begin, begin + room_.size(), value, std::chars_format::general, 15);
    if (ec != std::errc())
        return "0";
    for (char* c = begin; c != end; ++c) {
        if (*c == 'e')
            *c = 'E';
    }
    return {begin, static_cast<std::size_t>(end - begin)};
}

} // namespace tolvane
