#pragma once

#include "model/DateValue.h"

#include <cstdint>
#include <optional>
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

} // namespace SettingText

} // namespace tolvane
