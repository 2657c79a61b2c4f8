#include "core/settings/SettingText.h"

#include "core/log/AsciiText.h"
#include "core/log/DateText.h"
#include "core/log/NumericValue.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
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

std::string flagText(bool value)
{
    return value ? "True" : "False";
}

std::string singleText(double value)
{
    if (!(std::fabs(value) <= FLT_MAX))
        return "0";
    const float single = static_cast<float>(value);
    if (single == 0.0f)
        return "0";
    // Seven significant digits as d.dddddde±x, then laid out without the exponent.
    char buf[32];
    const auto result
        = std::to_chars(buf, buf + sizeof buf, static_cast<double>(single), std::chars_format::scientific, 6);
    std::string_view s(buf, static_cast<std::size_t>(result.ptr - buf));
    std::string text;
    if (s.front() == '-') {
        text = "-";
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    std::string digits = std::string(s.substr(0, 1)) + std::string(s.substr(2, e - 2));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string_view exponentText = s.substr(e + 1);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    const auto count = static_cast<int>(digits.size());
    if (exponent < 0) {
        text.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else if (exponent + 1 >= count) {
        text.append(digits).append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        const auto point = static_cast<std::size_t>(exponent + 1);
        text.append(digits, 0, point).append(".").append(digits, point);
    }
    return text;
}

std::string wholeText(double value)
{
    const double whole = roundHalfEven(value);
    if (!(std::fabs(whole) < 9.2e18))
        return "0";
    return std::to_string(static_cast<long long>(whole));
}

std::string dateText(DateValue value)
{
    const DateParts p = splitDate(value);
    char time[32];
    std::snprintf(time, sizeof time, "%d:%02d:%02d", p.hour, p.minute, p.second);
    if (p.year == 1899 && p.month == 12 && p.day == 30)
        return time;
    std::string text = shortDateText(p.year, p.month, p.day);
    if (p.hour != 0 || p.minute != 0 || p.second != 0)
        text.append(" ").append(time);
    return text;
}

} // namespace tolvane::SettingText
