#pragma once

#include "core/calendar/CalendarCollection.h"
#include "core/log/DateValue.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tolvane {

// Plays counted by year, month, day and hour. Add counts one play under a
// number: it returns the node it created, or nullptr when the node already
// stood there and only its Counter went up. A number out of range throws
// std::out_of_range and changes nothing.

struct CTime final {
    std::int32_t Counter = 0;
    std::int16_t HTime = 0; // 0..23
};

class CTimes final : public CalendarCollection<CTime, 0, 23> {
public:
    CTime* Add(int hour)
    {
        CTime* node = countOne(hour);
        if (node)
            node->HTime = static_cast<std::int16_t>(hour);
        return node;
    }

    CTime* Item(int hour) noexcept { return find(hour); }
    const CTime* Item(int hour) const noexcept { return find(hour); }
};

struct ClDate final {
    std::int32_t Counter = 0;
    tolvane::CTimes CTimes;
    std::int16_t DDate = 0; // 1..31
    std::int16_t Youbi = 0; // 1 = Sunday .. 7 = Saturday
};

class ClDates final : public CalendarCollection<ClDate, 1, 31> {
public:
    // year and month are those of the play, for the weekday of a new day.
    ClDate* Add(int day, int year, int month)
    {
        ClDate* node = countOne(day);
        if (node) {
            node->DDate = static_cast<std::int16_t>(day);
            node->Youbi = static_cast<std::int16_t>(weekdayOf(year, month, day));
        }
        return node;
    }

    ClDate* Item(int day) noexcept { return find(day); }
    const ClDate* Item(int day) const noexcept { return find(day); }
};

struct CMonth final {
    std::int32_t Counter = 0;
    std::int16_t MDate = 0; // 1..12
    tolvane::ClDates ClDates;
};

struct CYear;

class CMonths final : public CalendarCollection<CMonth, 1, 12> {
public:
    // year is the node owning this collection; a new month widens its
    // MinMonth..MaxMonth span.
    CMonth* Add(int month, CYear& year);

    CMonth* Item(int month) noexcept { return find(month); }
    const CMonth* Item(int month) const noexcept { return find(month); }
};

struct CYear final {
    tolvane::CMonths CMonths;
    std::int32_t Counter = 0;
    std::int16_t YDate = 0;
    std::int16_t MaxMonth = 0;
    std::int16_t MinMonth = 12;
};

inline CMonth* CMonths::Add(int month, CYear& year)
{
    CMonth* node = countOne(month);
    if (node) {
        node->MDate = static_cast<std::int16_t>(month);
        if (node->MDate > year.MaxMonth)
            year.MaxMonth = node->MDate;
        if (node->MDate < year.MinMonth)
            year.MinMonth = node->MDate;
    }
    return node;
}

class CYears final : public CalendarCollection<CYear, 1, 9999> {
public:
    CYear* Add(int year)
    {
        CYear* node = countOne(year);
        if (node)
            node->YDate = static_cast<std::int16_t>(year);
        return node;
    }

    // Throw std::out_of_range for a year without plays; find() does not.
    CYear& Item(int year)
    {
        if (CYear* node = find(year))
            return *node;
        throw std::out_of_range("no plays in year " + std::to_string(year));
    }

    const CYear& Item(int year) const
    {
        if (const CYear* node = find(year))
            return *node;
        throw std::out_of_range("no plays in year " + std::to_string(year));
    }
};

} // namespace tolvane
