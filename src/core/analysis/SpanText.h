#pragma once

#include "core/log/DateValue.h"

#include <string>

namespace tolvane {

// The time from first to recent as calendar steps counted from 1900-01-01:
// two-digit year, months, days, then the time of day of that date-time,
// e.g. "01年 2ヶ月 4日2時間30分15秒". A negative span counts back before 1900
// ("99年 11ヶ月 29日21時間37分0秒" for one day and 2:23 back).
std::string spanText(DateValue first, DateValue recent);

// The same count written without blanks, as in "01年2ヶ月3日6時間30分15秒".
std::string historyText(DateValue first, DateValue last);

} // namespace tolvane
