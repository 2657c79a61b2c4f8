#include "core/log/NumberText.h"

#include "core/log/NumericValue.h"

#include <charconv>
#include <cmath>

namespace tolvane {

std::string numberText(double value)
{
    if (value == 0.0)
        return "0"; // also for -0
    // to_chars, unlike printf, ignores the user's locale.
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc())
        return "0";
    std::string text(buf, end);
    for (char& c : text) {
        if (c == 'e')
            c = 'E';
    }
    return text;
}

double shownValue(double value)
{
    // Whole numbers below 10^15 show every digit; only others change on the way.
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return value;
    return numericValue(numberText(value));
}

} // namespace tolvane
