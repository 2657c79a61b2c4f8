#include "settings/SettingText.h"

#include "model/AsciiText.h"
#include "model/DateText.h"
#include "model/NumericValue.h"

#include <charconv>
#include <string>

namespace tolvane::SettingText {

namespace {

// Optional sign, digits, optional fraction: the plain decimal the settings
// file writes. Gives the value.
std::optional<double> plainDecimal(std::string_view text)
{
    text = trimSpaces(text);
    std::string number(text);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    const std::size_t start = !number.empty() && number.front() == '-' ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (std::size_t i = start; i < number.size(); ++i) {
        const char c = number[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || ptr != number.data() + number.size())
        return std::nullopt;
    return value;
}

// A number as a flag takes anything numeric, exponents included.
bool isNumber(std::string_view text)
{
    text = trimSpaces(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t expStart = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i == expStart)
            return false;
    }
    return i == text.size();
}

} // namespace

std::optional<bool> toFlag(std::string_view text)
{
    const std::string_view t = trimSpaces(text);
    if (equalsIgnoringAsciiCase(t, "true"))
        return true;
    if (equalsIgnoringAsciiCase(t, "false"))
        return false;
    if (isNumber(t))
        return numericValue(t) != 0.0;
    return std::nullopt;
}

std::optional<std::int32_t> toWholeNumber(std::string_view text)
{
    const auto value = plainDecimal(text);
    if (!value)
        return std::nullopt;
    return toInt32(*value);
}

std::optional<DateValue> toDate(std::string_view text)
{
    const std::string_view t = trimSpaces(text);
    if (const auto date = parseDateTimeText(t))
        return date;
    if (const auto time = parseTimeText(t))
        return static_cast<double>(*time) / kSecondsPerDay;
    return plainDecimal(t);
}

} // namespace tolvane::SettingText
