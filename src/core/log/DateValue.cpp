#include "core/log/DateValue.h"

#include <cmath>

namespace tolvane {

namespace {

// Days from 1970-01-01 to 1899-12-30.
constexpr std::int64_t kEpochShift = -25569;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Howard Hinnant's days_from_civil / civil_from_days, relative to 1970-01-01.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

} // namespace

std::int64_t serialDay(int year, int month, int day)
{
    // Normalise the month first so that callers may step past December.
    std::int64_t y = year;
    std::int64_t m = month - 1;
    y += floorDiv(m, 12);
    m -= floorDiv(m, 12) * 12;
    return daysFromCivil(y, static_cast<unsigned>(m + 1), 1) + (day - 1) - kEpochShift;
}

CivilDate civilDate(std::int64_t serial)
{
    return civilFromDays(serial + kEpochShift);
}

DateValue makeDate(int year, int month, int day, int hour, int minute, int second)
{
    const std::int64_t seconds = static_cast<std::int64_t>(hour) * 3600 + minute * 60 + second;
    return static_cast<double>(serialDay(year, month, day)) + static_cast<double>(seconds) / kSecondsPerDay;
}

std::int64_t totalSeconds(DateValue value)
{
    return std::llround(value * kSecondsPerDay);
}

DateParts splitDate(DateValue value)
{
    const std::int64_t seconds = totalSeconds(value);
    const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
    const auto secOfDay = static_cast<int>(seconds - day * kSecondsPerDay);
    const CivilDate date = civilDate(day);
    DateParts parts;
    parts.year = date.year;
    parts.month = date.month;
    parts.day = date.day;
    parts.hour = secOfDay / 3600;
    parts.minute = secOfDay / 60 % 60;
    parts.second = secOfDay % 60;
    parts.weekday = weekdayOfSerial(day);
    return parts;
}

int weekdayOfSerial(std::int64_t serial)
{
    // Day 0, 1899-12-30, was a Saturday.
    const std::int64_t r = (serial + 6) % 7;
    return static_cast<int>(r < 0 ? r + 7 : r) + 1;
}

int weekdayOf(int year, int month, int day)
{
    return weekdayOfSerial(serialDay(year, month, day));
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

DateValue addDays(DateValue value, std::int64_t days)
{
    return value + static_cast<double>(days);
}

CivilDate addMonths(CivilDate date, int months)
{
    std::int64_t index = static_cast<std::int64_t>(date.year) * 12 + (date.month - 1) + months;
    const std::int64_t year = floorDiv(index, 12);
    const auto month = static_cast<int>(index - year * 12 + 1);
    const int y = static_cast<int>(year);
    const int lastDay = daysInMonth(y, month);
    return {y, month, date.day > lastDay ? lastDay : date.day};
}

DateValue addMonths(DateValue value, int months)
{
    const std::int64_t seconds = totalSeconds(value);
    const std::int64_t day = floorDiv(seconds, kSecondsPerDay);
    const std::int64_t secOfDay = seconds - day * kSecondsPerDay;
    const CivilDate moved = addMonths(civilDate(day), months);
    return static_cast<double>(serialDay(moved.year, moved.month, moved.day))
        + static_cast<double>(secOfDay) / kSecondsPerDay;
}

std::int64_t daysBetween(DateValue a, DateValue b)
{
    const std::int64_t dayA = floorDiv(totalSeconds(a), kSecondsPerDay);
    const std::int64_t dayB = floorDiv(totalSeconds(b), kSecondsPerDay);
    return dayB - dayA;
}

} // namespace tolvane
