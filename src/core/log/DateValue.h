#pragma once

#include <cstdint>

namespace tolvane {

// A date value: days since 1899-12-30 00:00:00, the fraction being the time
// of day. The zero date stands for "not set".
using DateValue = double;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The parts of a date value, rounded to the whole second.
struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0; // 1 = Sunday .. 7 = Saturday
};

constexpr int kSecondsPerDay = 86400;

// Serial day number of a calendar date (1899-12-30 is day 0), proleptic Gregorian.
std::int64_t serialDay(int year, int month, int day);
CivilDate civilDate(std::int64_t serialDay);

DateValue makeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Whole seconds since 1899-12-30 00:00:00, rounded to the nearest second.
std::int64_t totalSeconds(DateValue value);
DateParts splitDate(DateValue value);

// 1 = Sunday .. 7 = Saturday.
int weekdayOfSerial(std::int64_t serialDay);
int weekdayOf(int year, int month, int day);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

DateValue addDays(DateValue value, std::int64_t days);
// Steps whole months; a day past the end of the target month becomes its last day.
DateValue addMonths(DateValue value, int months);
CivilDate addMonths(CivilDate date, int months);
// Whole days from a to b, counted on the dates (times of day ignored).
std::int64_t daysBetween(DateValue a, DateValue b);

} // namespace tolvane
