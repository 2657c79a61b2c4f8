#pragma once

#include "core/calendar/CalendarCollection.h"
#include "core/log/DateValue.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tolvane {

// Plays counted by year, month, day and hour. add() counts one play under a
// number: it returns the node it created, or nullptr when the node already
// stood there and only its plays went up. A number out of range throws
// std::out_of_range and changes nothing.

struct CalendarHour final {
    std::int32_t plays = 0;
    std::int16_t hour = 0; // 0..23
};

class CalendarHours final : public CalendarCollection<CalendarHour, 0, 23> {
public:
    CalendarHour* add(int hour)
    {
        CalendarHour* node = countOne(hour);
        if (node)
            node->hour = static_cast<std::int16_t>(hour);
        return node;
    }

    CalendarHour* at(int hour) noexcept { return find(hour); }
    const CalendarHour* at(int hour) const noexcept { return find(hour); }
};

struct CalendarDay final {
    std::int32_t plays = 0;
    CalendarHours hours;
    std::int16_t day = 0; // 1..31
    std::int16_t weekday = 0; // 1 = Sunday .. 7 = Saturday
};

class CalendarDays final : public CalendarCollection<CalendarDay, 1, 31> {
public:
    // year and month are those of the play, for the weekday of a new day.
    CalendarDay* add(int day, int year, int month)
    {
        CalendarDay* node = countOne(day);
        if (node) {
            node->day = static_cast<std::int16_t>(day);
            node->weekday = static_cast<std::int16_t>(weekdayOf(year, month, day));
        }
        return node;
    }

    CalendarDay* at(int day) noexcept { return find(day); }
    const CalendarDay* at(int day) const noexcept { return find(day); }
};

struct CalendarMonth final {
    std::int32_t plays = 0;
    std::int16_t month = 0; // 1..12
    CalendarDays days;
};

struct CalendarYear;

class CalendarMonths final : public CalendarCollection<CalendarMonth, 1, 12> {
public:
    // year is the node owning this collection; a new month widens its
    // firstMonth..lastMonth span.
    CalendarMonth* add(int month, CalendarYear& year);

    CalendarMonth* at(int month) noexcept { return find(month); }
    const CalendarMonth* at(int month) const noexcept { return find(month); }
};

struct CalendarYear final {
    CalendarMonths months;
    std::int32_t plays = 0;
    std::int16_t year = 0;
    std::int16_t lastMonth = 0;
    std::int16_t firstMonth = 12;
};

inline CalendarMonth* CalendarMonths::add(int month, CalendarYear& year)
{
    CalendarMonth* node = countOne(month);
    if (node) {
        node->month = static_cast<std::int16_t>(month);
        if (node->month > year.lastMonth)
            year.lastMonth = node->month;
        if (node->month < year.firstMonth)
            year.firstMonth = node->month;
    }
    return node;
}

class CalendarYears final : public CalendarCollection<CalendarYear, 1, 9999> {
public:
    CalendarYear* add(int year)
    {
        CalendarYear* node = countOne(year);
        if (node)
            node->year = static_cast<std::int16_t>(year);
        return node;
    }

    // Throw std::out_of_range for a year without plays; find() does not.
    CalendarYear& at(int year)
    {
        if (CalendarYear* node = find(year))
            return *node;
        throw std::out_of_range("no plays in year " + std::to_string(year));
    }

    const CalendarYear& at(int year) const
    {
        if (const CalendarYear* node = find(year))
            return *node;
        throw std::out_of_range("no plays in year " + std::to_string(year));
    }
};

} // namespace tolvane
