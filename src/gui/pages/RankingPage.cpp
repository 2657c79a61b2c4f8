#include "gui/pages/RankingPage.h"

#include "gui/StoredPlacement.h"
#include "gui/models/ItemRoles.h"
#include "gui/models/RankingModel.h"
#include "gui/search/HeaderSorting.h"
#include "gui/search/StableSortProxy.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

RankingPage::RankingPage(const RankingTables& tables, QWidget* parent)
    : QWidget(parent)
    , tables_(tables)
    , chooser_(new QComboBox(this))
    , list_(new QTableView(this))
    , model_(new RankingModel(initialRankingView(), this))
    , proxy_(new StableSortProxy(this))
{
    proxy_->setObjectName(QStringLiteral("rankingProxy"));
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(SortRole);
    setObjectName(QStringLiteral("rankingPage"));
    chooser_->setObjectName(QStringLiteral("rankingChooser"));
    chooser_->setEditable(false);
    // As wide as its longest entry, whatever the font.
    chooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const auto& entries = rankingChooserEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        chooser_->addItem(
            QString::fromUtf8(entries[i].data(), static_cast<qsizetype>(entries[i].size())), static_cast<int>(i));
    // Nothing is chosen until the user picks.
    chooser_->setCurrentIndex(-1);

    list_->setObjectName(QStringLiteral("rankingList"));
    list_->setModel(proxy_);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setWordWrap(false);
    list_->setShowGrid(false);
    list_->verticalHeader()->hide();
    // The rows come in rank order; a header click sorts (HeaderSorting) but
    // does not select a column.
    list_->horizontalHeader()->setHighlightSections(false);
    new HeaderSorting(*list_, HeaderSorting::rankingOrderText());
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    applyColumnWidths();

    auto* box = new QVBoxLayout(this);
    box->addWidget(chooser_, 0, Qt::AlignLeft);
    box->addWidget(list_, 1);

    // activated, not currentIndexChanged: only a pick by the user rebuilds the list.
    connect(chooser_, &QComboBox::activated, this, &RankingPage::showChosenRanking);
}

void RankingPage::clearRows()
{
    model_->clearRows();
}

void RankingPage::showChosenRanking(int index)
{
    const QVariant kind = chooser_->itemData(index);
    if (kind.isValid())
        showRanking(static_cast<RankingKind>(kind.toInt()));
}

void RankingPage::showRanking(RankingKind kind)
{
    chooser_->setCurrentIndex(chooser_->findData(static_cast<int>(kind)));
    // A new pick comes in the ranking's own order.
    list_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    model_->setView(buildRankingView(kind, tables_));
    shown_ = kind;
    applyColumnWidths();
}

void RankingPage::applyColumnWidths()
{
    const double dpi = logicalDpiX();
    const auto& columns = model_->view().columns;
    for (std::size_t c = 0; c < columns.size(); ++c)
        list_->setColumnWidth(static_cast<int>(c), StoredPlacement::toPixels(columns[c].width, dpi));
}

} // namespace tolvane
