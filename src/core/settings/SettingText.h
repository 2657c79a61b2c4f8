#pragma once

#include "core/log/DateValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// Conversions of stored setting texts. Each gives nothing when the text is
// not what its setting holds, so the caller can fall back to the default.
namespace SettingText {

// "True" or "False" in any letter case, or a number (0 is false).
std::optional<bool> toFlag(std::string_view text);
// A whole number: optional sign, digits, optional fraction (rounded half to
// even), spaces around it; nothing else.
std::optional<std::int32_t> toWholeNumber(std::string_view text);
// A date with an optional time of day, a time of day alone, or a plain
// number of days; "0" and "0:00:00" are the zero date.
std::optional<DateValue> toDate(std::string_view text);

// The forms the settings file is written in; each reads back with the
// conversion above (or with numericValue for the numbers).

// "True" or "False".
std::string flagText(bool value);
// The value as a single-precision number, rounded to 7 significant digits,
// without an exponent or trailing zeros: "1000", "1234.5", "-60", "0.25".
// A value beyond the single-precision range gives "0".
std::string singleText(double value);
// The value rounded to a whole number, halves to the even one: "65536", "-1".
// A value beyond the 64-bit range gives "0".
std::string wholeText(double value);
// "2002/01/15" at midnight, "2002/01/15 6:05:00" otherwise; a value on day
// zero is its time of day alone, so the zero date is "0:00:00".
std::string dateText(DateValue value);

} // namespace SettingText

} // namespace tolvane
