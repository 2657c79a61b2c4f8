#include "core/analysis/SpanText.h"

#include <cmath>
#include <cstdio>

namespace tolvane {

namespace {

// No two dates the program can read are this far apart; clamping keeps the
// second count and the calendar arithmetic far from overflow.
constexpr double kMaxSpanDays = 1e9;

// 1900-01-01 00:00:00 is serial day 2.
constexpr double kSpanOrigin = 2.0;

DateParts spanParts(DateValue first, DateValue recent)
{
    double span = recent - first;
    if (std::isnan(span))
        span = 0.0;
    span = std::fmax(-kMaxSpanDays, std::fmin(kMaxSpanDays, span));
    return splitDate(kSpanOrigin + span);
}

int twoDigitYear(int year)
{
    return (year % 100 + 100) % 100;
}

std::string format(const char* pattern, const DateParts& t)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, pattern, twoDigitYear(t.year), t.month - 1, t.day - 1, t.hour, t.minute, t.second);
    return buf;
}

} // namespace

std::string spanText(DateValue first, DateValue recent)
{
    return format("%02d年 %dヶ月 %d日%d時間%d分%d秒", spanParts(first, recent));
}

std::string historyText(DateValue first, DateValue last)
{
    return format("%02d年%dヶ月%d日%d時間%d分%d秒", spanParts(first, last));
}

} // namespace tolvane
