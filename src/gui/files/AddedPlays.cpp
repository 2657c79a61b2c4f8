#include "gui/files/AddedPlays.h"
#include "gui/files/ScrollAnchor.h"
#include "gui/models/PlayListModel.h"

#include <QAbstractItemView>
#include <QSortFilterProxyModel>

namespace tolvane {

namespace {

// From about this many rows on, sorting the whole list again is the cheaper way.
constexpr int kRowsForOneSort = 64;

} // namespace

void showAddedPlays(PlayListModel& model, QAbstractItemView& list)
{
    const ScrollAnchor anchor(list);
    auto* proxy = qobject_cast<QSortFilterProxyModel*>(list.model());
    const bool oneSort
        = proxy && proxy->sortColumn() >= 0 && proxy->dynamicSortFilter() && model.pendingRows() >= kRowsForOneSort;
    if (!oneSort) {
        model.syncRows();
        return;
    }
    // New rows go to the end unsorted; turning dynamic sorting back on sorts once.
    proxy->setDynamicSortFilter(false);
    model.syncRows();
    proxy->setDynamicSortFilter(true);
}

} // namespace tolvane
