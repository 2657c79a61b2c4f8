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

QList<int> HeaderSorting::lostColumns() const
{
    const QHeaderView* header = view_.horizontalHeader();
    QList<int> lost;
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section) || header->sectionSize(section) < header->minimumSectionSize())
            lost.append(section);
    }
    return lost;
}

void HeaderSorting::showLostColumns()
{
    QHeaderView* header = view_.horizontalHeader();
    for (int section : lostColumns()) {
        header->showSection(section);
        header->resizeSection(section, header->defaultSectionSize());
    }
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
    // A column narrowed out of sight cannot be caught by its edge: this brings it back.
    QAction* show = menu.addAction(tr("隠れた列を表示"));
    show->setObjectName("showLostColumns");
    show->setEnabled(!lostColumns().isEmpty());
    connect(show, &QAction::triggered, this, &HeaderSorting::showLostColumns);
    menu.exec(header->viewport()->mapToGlobal(position));
}

} // namespace tolvane
