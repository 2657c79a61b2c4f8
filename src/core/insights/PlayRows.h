#pragma once

#include "core/analysis/PlayList.h"
#include "core/log/DateValue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvane {

// The rows of the data list an insight looks at: 0-based row indices in file
// order, all of them or a view period's share.
using RowList = std::vector<std::size_t>;

RowList allRows(const PlayList& plays);

// A play's place in time: its date-time to the whole second, and its row.
struct TimedRow final {
    std::int64_t seconds = 0; // since 1899-12-30 00:00:00
    std::size_t row = 0;

    std::int64_t day() const noexcept; // serial day (1899-12-30 is 0)
};

// The rows in date order; plays with equal times keep their file order.
std::vector<TimedRow> inDateOrder(const PlayList& plays, const RowList& rows);

// The rows whose play falls on the serial day, in file order (a heatmap cell).
RowList rowsOnDay(const PlayList& plays, const RowList& rows, std::int64_t day);

// ISO 8601 without a zone: "2001-11-21T15:41:00" and "2001-11-21".
std::string isoDateTime(std::int64_t seconds);
std::string isoDateTime(DateValue value);
std::string isoDay(std::int64_t day);

} // namespace tolvane
