#include "gui/models/PlayDayFilter.h"

#include <algorithm>

namespace tolvane {

PlayDayFilter::PlayDayFilter(const PlayList& plays, QObject* parent)
    : QSortFilterProxyModel(parent)
    , plays_(plays)
{
}

void PlayDayFilter::setDay(std::int64_t day, const RowList& rows)
{
    day_ = day;
    kept_ = rowsOnDay(plays_, rows, day);
    std::sort(kept_.begin(), kept_.end());
    invalidateRowsFilter();
}

void PlayDayFilter::clearDay()
{
    day_.reset();
    kept_.clear();
    invalidateRowsFilter();
}

bool PlayDayFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return !day_ || std::binary_search(kept_.begin(), kept_.end(), static_cast<std::size_t>(sourceRow));
}

} // namespace tolvane
