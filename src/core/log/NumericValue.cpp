#include "core/log/NumericValue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace tolvane {

namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// Walks the text, passing over skipped characters.
class Cursor {
public:
    explicit Cursor(std::string_view text)
        : text_(text)
    {
        skip();
    }
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance()
    {
        ++pos_;
        skip();
    }

private:
    void skip()
    {
        while (pos_ < text_.size() && isSkipped(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

int digitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

double radixValue(Cursor& cur, int base)
{
    double value = 0;
    for (int d = digitValue(cur.peek(), base); d >= 0; d = digitValue(cur.peek(), base)) {
        value = value * base + d;
        cur.advance();
    }
    return value;
}

// Rough power of ten of a decimal text such as "0.00012e-400"; only its sign
// matters, to tell an overflow from an underflow.
long long decimalMagnitude(std::string_view number)
{
    const std::size_t e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool neg = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits) {
            exponent = exponent * 10 + (c - '0');
            if (exponent > 1'000'000'000)
                break;
        }
        if (neg)
            exponent = -exponent;
    }
    const std::size_t point = mantissa.find('.');
    const std::string_view whole = mantissa.substr(0, point);
    const std::size_t firstNonZero = whole.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        return exponent + static_cast<long long>(whole.size() - firstNonZero);
    if (point == std::string_view::npos)
        return exponent - 1;
    const std::string_view fraction = mantissa.substr(point + 1);
    const std::size_t lead = fraction.find_first_not_of('0');
    return exponent - static_cast<long long>(lead == std::string_view::npos ? fraction.size() : lead);
}

} // namespace

double numericValue(std::string_view text)
{
    // The commonest form, read in place: spaces, up to 15 digits, then (past
    // any spaces) the end or a character that cannot continue a number.
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t first = i;
    std::uint64_t plain = 0;
    while (i < text.size() && i - first < 15 && text[i] >= '0' && text[i] <= '9') {
        plain = plain * 10 + static_cast<unsigned>(text[i] - '0');
        ++i;
    }
    if (i > first) {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
        const char c = i < text.size() ? text[i] : ' ';
        if (!(c >= '0' && c <= '9') && c != '.' && c != 'e' && c != 'E' && c != 'd' && c != 'D')
            return static_cast<double>(plain);
    }

    Cursor cur(text);
    if (cur.peek() == '&') {
        cur.advance();
        const char kind = cur.peek();
        if (kind == 'h' || kind == 'H') {
            cur.advance();
            return radixValue(cur, 16);
        }
        if (kind == 'o' || kind == 'O') {
            cur.advance();
            return radixValue(cur, 8);
        }
        return 0;
    }

    bool negative = false;
    if (cur.peek() == '+' || cur.peek() == '-') {
        negative = cur.peek() == '-';
        cur.advance();
    }
    // Whole numbers of up to 15 digits, nearly every number in a log, are
    // exact in a double and need no general conversion.
    std::uint64_t whole = 0;
    int wholeDigits = 0;
    while (wholeDigits < 15 && cur.peek() >= '0' && cur.peek() <= '9') {
        whole = whole * 10 + static_cast<unsigned>(cur.peek() - '0');
        ++wholeDigits;
        cur.advance();
    }
    const char after = cur.peek();
    if (wholeDigits > 0 && !(after >= '0' && after <= '9') && after != '.' && after != 'e' && after != 'E'
        && after != 'd' && after != 'D') {
        const auto value = static_cast<double>(whole);
        return negative ? -value : value;
    }

    // Otherwise gather the number without the skipped characters and let
    // from_chars do the correctly rounded conversion.
    std::string number = wholeDigits > 0 ? std::to_string(whole) : std::string();
    bool digits = wholeDigits > 0;
    bool point = false;
    for (;;) {
        const char c = cur.peek();
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number += c;
        cur.advance();
    }
    if (!digits)
        return 0;
    const char e = cur.peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        cur.advance();
        std::string exponent = "e";
        if (cur.peek() == '+' || cur.peek() == '-') {
            exponent += cur.peek();
            cur.advance();
        }
        bool expDigits = false;
        while (cur.peek() >= '0' && cur.peek() <= '9') {
            expDigits = true;
            exponent += cur.peek();
            cur.advance();
        }
        if (expDigits)
            number += exponent;
    }
    // from_chars, unlike strtod, does not depend on the user's locale.
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too large becomes an infinity, too small a zero.
        value = decimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

std::optional<std::int16_t> toInt16(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> toInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

} // namespace tolvane
