#include "gui/search/HeaderSorting.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

namespace tolvane {

HeaderSorting::HeaderSorting(QTableView& view, QString restoreText)
    : QObject(&view)
    , view_(view)
    , restoreText_(std::move(restoreText))
{
    QHeaderView* header = view_.horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    // The header's own cycle: ascending, descending, then no indicator, which
    // the view passes on as sort(-1), the model's own order.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    view_.setSortingEnabled(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, &HeaderSorting::showHeaderMenu);
}

QString HeaderSorting::fileOrderText()
{
    return QStringLiteral("ファイルの順序に戻す");
}

QString HeaderSorting::rankingOrderText()
{
    return QStringLiteral("ランキングの順序に戻す");
}

void HeaderSorting::sortColumn(int section, Qt::SortOrder order)
{
    view_.horizontalHeader()->setSortIndicator(section, order);
}

void HeaderSorting::restoreOrder()
{
    view_.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void HeaderSorting::showHeaderMenu(const QPoint& position)
{
    QHeaderView* header = view_.horizontalHeader();
    const int section = header->logicalIndexAt(position);
    QMenu menu(header);
    if (section >= 0) {
        connect(menu.addAction(QStringLiteral("昇順で並べ替え")), &QAction::triggered, this,
            [this, section] { sortColumn(section, Qt::AscendingOrder); });
        connect(menu.addAction(QStringLiteral("降順で並べ替え")), &QAction::triggered, this,
            [this, section] { sortColumn(section, Qt::DescendingOrder); });
        menu.addSeparator();
    }
    QAction* restore = menu.addAction(restoreText_);
    restore->setEnabled(header->sortIndicatorSection() >= 0);
    connect(restore, &QAction::triggered, this, &HeaderSorting::restoreOrder);
    menu.exec(header->viewport()->mapToGlobal(position));
}

} // namespace tolvane
