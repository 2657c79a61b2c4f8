#include "gui/pages/RankingPage.h"

#include "gui/MainLayout.h"
#include "gui/models/RankingModel.h"
#include "core/rankings/RankingView.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>

namespace tolvane {

RankingPage::RankingPage(const RankingTables& tables, QWidget* parent)
    : QWidget(parent)
    , tables_(tables)
    , combo_(new QComboBox(this))
    , list_(new QTableView(this))
    , model_(new RankingModel(initialRankingView(), this))
{
    combo_->setObjectName(QStringLiteral("Combo1"));
    combo_->setEditable(false);
    for (std::string_view entry : rankingChooserEntries())
        combo_->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    // Nothing is chosen until the user picks.
    combo_->setCurrentIndex(-1);

    list_->setObjectName(QStringLiteral("ListView2"));
    list_->setModel(model_);
    list_->setSortingEnabled(false);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setWordWrap(false);
    list_->setShowGrid(false);
    list_->verticalHeader()->hide();
    // The rows are already in rank order; a header click must not select or re-sort.
    list_->horizontalHeader()->setSectionsClickable(false);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    applyColumnWidths();

    // activated, not currentIndexChanged: only a pick by the user rebuilds the list.
    connect(combo_, &QComboBox::activated, this, &RankingPage::Combo1_Click);
}

void RankingPage::clearRows()
{
    model_->clearRows();
}

void RankingPage::Combo1_Click()
{
    const std::optional<RankingKind> kind = rankingKindOf(combo_->currentText().toStdString());
    if (!kind)
        return;
    model_->setView(buildRankingView(*kind, tables_));
    applyColumnWidths();
}

void RankingPage::applyColumnWidths()
{
    const double dpi = logicalDpiX();
    for (int column = 0; column < model_->columnCount(); ++column)
        list_->setColumnWidth(column, twipsToPixels(model_->columnWidthTwips(column), dpi));
}

} // namespace tolvane
