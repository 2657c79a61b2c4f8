#pragma once

#include "core/analysis/PlayList.h"
#include "core/insights/PlayRows.h"

#include <QSortFilterProxyModel>

#include <cstdint>
#include <optional>

namespace tolvane {

// A filter over the data list's model (source row = data-list row) that keeps
// one day's plays, for a click on the calendar; a separate layer, so other
// filters can sit above it. With no day it keeps every row.
class PlayDayFilter final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit PlayDayFilter(const PlayList& plays, QObject* parent = nullptr);

    // Keeps the plays of rows that fall on the serial day (a view period's
    // rows, or all of them).
    void setDay(std::int64_t day, const RowList& rows);
    void clearDay();
    std::optional<std::int64_t> day() const { return day_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const PlayList& plays_;
    std::optional<std::int64_t> day_;
    RowList kept_; // sorted
};

} // namespace tolvane
