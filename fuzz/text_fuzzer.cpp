// Feeds arbitrary text to the readers of numbers, dates and times, the
// conversions of stored setting texts, and the line decoder, and checks what
// each promises: dates read back as they are written, times stay within a day,
// blanks inside a number change nothing, and decoding gives well-formed UTF-8.
#include "core/log/DateText.h"
#include "core/log/DateValue.h"
#include "core/log/NumericValue.h"
#include "core/log/TextDecoder.h"
#include "core/log/Utf8Text.h"
#include "core/settings/SettingText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using namespace tolvane;

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool sameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool wellFormedUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 1;
        unsigned char lo = 0x80;
        unsigned char hi = 0xBF;
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            n = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 3;
            lo = b == 0xE0 ? 0xA0 : 0x80;
            hi = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 4;
            lo = b == 0xF0 ? 0x90 : 0x80;
            hi = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (s.size() - i < n)
            return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < lo || second > hi)
            return false;
        for (std::size_t k = 2; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if (c < 0x80 || c > 0xBF)
                return false;
        }
        i += n;
    }
    return true;
}

void numbers(std::string_view text)
{
    const double value = numericValue(text);
    if (const auto v = toInt16(value))
        check(std::fabs(*v - value) <= 0.5, "a 16-bit conversion is the nearest whole number");
    if (const auto v = toInt32(value))
        check(std::fabs(*v - value) <= 0.5, "a 32-bit conversion is the nearest whole number");
    // Blanks inside a number are passed over wherever they stand.
    const std::size_t at = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % (text.size() + 1);
    std::string spaced(text);
    spaced.insert(at, 1, ' ');
    check(sameNumber(numericValue(spaced), value), "a blank inside a number changes nothing");
}

void dates(std::string_view text)
{
    if (const auto day = parseDateText(text)) {
        const CivilDate civil = civilDate(*day);
        check(civil.year >= 1 && civil.year <= 9999, "a date read has a four-digit year");
        check(parseDateText(shortDateText(civil.year, civil.month, civil.day)) == day, "a date reads back as written");
    }
    if (const auto seconds = parseTimeText(text))
        check(*seconds >= 0 && *seconds < kSecondsPerDay, "a time of day lies within the day");
    if (const auto value = parseDateTimeText(text)) {
        check(std::isfinite(*value), "a date-time is finite");
        if (*value != 0.0) {
            const auto again = parseDateTimeText(dateTimeText(*value));
            check(again && totalSeconds(*again) == totalSeconds(*value), "a date-time reads back as written");
        }
    }
}

void settingTexts(std::string_view text)
{
    (void)SettingText::toFlag(text);
    if (const auto whole = SettingText::toWholeNumber(text))
        check(SettingText::toWholeNumber(std::to_string(*whole)) == whole, "a whole number reads back as written");
    if (const auto date = SettingText::toDate(text))
        check(std::isfinite(*date), "a stored date is finite");
}

void decoding(std::string_view bytes)
{
    for (const auto encoding : {TextDecoder::Encoding::Cp932, TextDecoder::Encoding::Utf8}) {
        const std::string text = TextDecoder(encoding).decode(bytes);
        check(wellFormedUtf8(text), "decoding gives well-formed UTF-8");
        const std::size_t chars = charCount(text);
        check(chars <= bytes.size(), "every character comes from at least one byte");
        const std::size_t pos = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % (chars + 2);
        const std::string_view c = charAt(text, pos);
        check(pos >= 1 && pos <= chars ? !c.empty() : c.empty(), "a character is found where one stands");
        check(charCount(dropChars(text, pos)) == (pos <= chars ? chars - pos : 0), "dropping characters");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    numbers(text);
    dates(text);
    settingTexts(text);
    decoding(text);
    return 0;
}
