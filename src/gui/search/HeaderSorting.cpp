#include "gui/search/HeaderSorting.h"

#include "gui/search/StableSortProxy.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

namespace tolvane {

HeaderSorting::HeaderSorting(QTableView& view, StableSortProxy& proxy, QString restoreText)
    : QObject(&view)
    , view_(view)
    , proxy_(proxy)
    , restoreText_(std::move(restoreText))
{
    view_.setSortingEnabled(false);
    QHeaderView* header = view_.horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::sectionClicked, this, &HeaderSorting::sortBySection);
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

void HeaderSorting::sortBySection(int section)
{
    if (proxy_.sortColumn() != section)
        sortColumn(section, Qt::AscendingOrder);
    else if (proxy_.sortOrder() == Qt::AscendingOrder)
        sortColumn(section, Qt::DescendingOrder);
    else
        restoreOrder();
}

void HeaderSorting::sortColumn(int section, Qt::SortOrder order)
{
    proxy_.sort(section, order);
    view_.horizontalHeader()->setSortIndicator(section, order);
}

void HeaderSorting::restoreOrder()
{
    proxy_.restoreSourceOrder();
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
    restore->setEnabled(proxy_.sortColumn() >= 0);
    connect(restore, &QAction::triggered, this, &HeaderSorting::restoreOrder);
    menu.exec(header->viewport()->mapToGlobal(position));
}

} // namespace tolvane
