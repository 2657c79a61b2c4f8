#include "core/log/DateText.h"

#include "core/log/AsciiText.h"

#include <cstdio>

namespace tolvane {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads minDigits..maxDigits decimal digits at the front of text.
std::optional<int> takeNumber(std::string_view& text, std::size_t minDigits, std::size_t maxDigits)
{
    std::size_t n = 0;
    int value = 0;
    while (n < text.size() && n < maxDigits && isDigit(text[n])) {
        value = value * 10 + (text[n] - '0');
        ++n;
    }
    if (n < minDigits || (n < text.size() && isDigit(text[n])))
        return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool takeSeparator(std::string_view& text, std::string_view accepted)
{
    if (text.empty() || accepted.find(text.front()) == std::string_view::npos)
        return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

std::string shortDateText(int year, int month, int day)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", year, month, day);
    return buf;
}

std::string shortDateText(DateValue value)
{
    const DateParts p = splitDate(value);
    return shortDateText(p.year, p.month, p.day);
}

std::string dateTimeText(DateValue value)
{
    const DateParts p = splitDate(value);
    const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
    if (value == 0.0)
        return "0:00:00";
    std::string text = shortDateText(p.year, p.month, p.day);
    if (!midnight) {
        char buf[32];
        std::snprintf(buf, sizeof buf, " %d:%02d:%02d", p.hour, p.minute, p.second);
        text += buf;
    }
    return text;
}

std::optional<std::int64_t> parseDateText(std::string_view text)
{
    text = trimSpaces(text);
    const auto year = takeNumber(text, 4, 4);
    if (!year || *year < 1 || !takeSeparator(text, "/-"))
        return std::nullopt;
    const auto month = takeNumber(text, 1, 2);
    if (!month || *month < 1 || *month > 12 || !takeSeparator(text, "/-"))
        return std::nullopt;
    const auto day = takeNumber(text, 1, 2);
    if (!day || *day < 1 || *day > daysInMonth(*year, *month) || !text.empty())
        return std::nullopt;
    return serialDay(*year, *month, *day);
}

std::optional<std::int32_t> parseTimeText(std::string_view text)
{
    text = trimSpaces(text);
    const auto hour = takeNumber(text, 1, 2);
    if (!hour || *hour > 23 || !takeSeparator(text, ":"))
        return std::nullopt;
    const auto minute = takeNumber(text, 1, 2);
    if (!minute || *minute > 59)
        return std::nullopt;
    int second = 0;
    if (!text.empty()) {
        if (!takeSeparator(text, ":"))
            return std::nullopt;
        const auto s = takeNumber(text, 1, 2);
        if (!s || *s > 59 || !text.empty())
            return std::nullopt;
        second = *s;
    }
    return *hour * 3600 + *minute * 60 + second;
}

std::optional<DateValue> parseDateTimeText(std::string_view text)
{
    text = trimSpaces(text);
    const std::size_t blank = text.find(' ');
    const auto day = parseDateText(text.substr(0, blank));
    if (!day)
        return std::nullopt;
    std::int32_t seconds = 0;
    if (blank != std::string_view::npos) {
        const auto time = parseTimeText(text.substr(blank + 1));
        if (!time)
            return std::nullopt;
        seconds = *time;
    }
    return static_cast<double>(*day) + static_cast<double>(seconds) / kSecondsPerDay;
}

} // namespace tolvane
