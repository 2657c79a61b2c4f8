#include "gui/models/GrowingTableView.h"

#include <QEvent>
#include <QHeaderView>

namespace tolvane {

GrowingTableView::GrowingTableView(QWidget* parent)
    : QTableView(parent)
{
}

void GrowingTableView::setModel(QAbstractItemModel* model)
{
    if (model == this->model())
        return;
    for (const QMetaObject::Connection& c : modelConnections_)
        disconnect(c);
    modelConnections_.clear();
    needFullLayout();
    QTableView::setModel(model);
    if (!model)
        return;
    // Every change but rows appended at the end lays the view out in full.
    const auto watch = [&](auto signal) {
        modelConnections_.push_back(connect(model, signal, this, &GrowingTableView::needFullLayout));
    };
    watch(&QAbstractItemModel::modelReset);
    watch(&QAbstractItemModel::layoutChanged);
    watch(&QAbstractItemModel::rowsRemoved);
    watch(&QAbstractItemModel::rowsMoved);
    watch(&QAbstractItemModel::columnsInserted);
    watch(&QAbstractItemModel::columnsRemoved);
    watch(&QAbstractItemModel::columnsMoved);
}

void GrowingTableView::setRootIndex(const QModelIndex& index)
{
    needFullLayout();
    QTableView::setRootIndex(index);
}

void GrowingTableView::reset()
{
    needFullLayout();
    QTableView::reset();
}

bool GrowingTableView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange: needFullLayout(); break;
    default: break;
    }
    return QTableView::event(event);
}

void GrowingTableView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    // Rows out of sight: at the end of the list, below a viewport that the
    // rows before them already fill.
    const bool atEnd = !parent.isValid() && model() && end == model()->rowCount(parent) - 1;
    const int lastVisible = verticalHeader()->logicalIndexAt(viewport()->height() - 1);
    if (atEnd && lastVisible >= 0 && start > lastVisible)
        appendedOutOfSight_ = true;
    else
        needFullLayout();
    QTableView::rowsInserted(parent, start, end);
}

void GrowingTableView::doItemsLayout()
{
    const bool scrollBarsOnly = appendedOutOfSight_ && !fullLayoutDue_;
    appendedOutOfSight_ = false;
    fullLayoutDue_ = false;
    if (scrollBarsOnly)
        updateGeometries();
    else
        QTableView::doItemsLayout();
}

} // namespace tolvane
