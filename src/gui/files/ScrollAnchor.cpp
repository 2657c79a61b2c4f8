#include "gui/files/ScrollAnchor.h"

#include <QAbstractItemView>
#include <QScrollBar>

namespace tolvane {

ScrollAnchor::ScrollAnchor(QAbstractItemView& view)
    : view_(view)
    , top_(view.indexAt(QPoint(1, 1)))
    , atTop_(view.verticalScrollBar()->value() == view.verticalScrollBar()->minimum())
{
}

ScrollAnchor::~ScrollAnchor()
{
    // A view at its top stays there; rows sorted in above are meant to be seen.
    if (atTop_ || !top_.isValid())
        return;
    view_.scrollTo(top_, QAbstractItemView::PositionAtTop);
}

} // namespace tolvane
