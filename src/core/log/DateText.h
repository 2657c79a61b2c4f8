#pragma once

#include "core/log/DateValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// "2001/05/03": four-digit year, two-digit month and day.
std::string shortDateText(int year, int month, int day);
std::string shortDateText(DateValue value);

// The date-time text shown to the user: "2001/05/03 9:05:07", the date alone
// at midnight, and "0:00:00" for the zero date (which means "not set").
std::string dateTimeText(DateValue value);

// A date written year/month/day: a four-digit year 0001..9999, a month of one
// or two digits and a day of one or two digits valid for that month,
// separated by "/" or "-", spaces around it allowed. Gives the serial day.
std::optional<std::int64_t> parseDateText(std::string_view text);

// A time of day hours:minutes[:seconds], each of one or two digits, on a
// 24-hour clock, spaces around it allowed. Gives the seconds since midnight.
std::optional<std::int32_t> parseTimeText(std::string_view text);

// A date, optionally followed by a blank and a time of day.
std::optional<DateValue> parseDateTimeText(std::string_view text);

} // namespace tolvane
