#include "gui/review/RecordsPage.h"

#include "gui/charts/BarChart.h"
#include "gui/models/ItemRoles.h"
#include "gui/review/RecordsModel.h"
#include "gui/sessions/SessionTableModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

RecordsPage::RecordsPage(QWidget* parent)
    : QWidget(parent)
    , chart_(new BarChart(this))
    , monthCaption_(new QLabel(this))
    , monthList_(new QListWidget(this))
    , model_(new RecordsModel(this))
    , sorted_(new QSortFilterProxyModel(this))
    , table_(new QTableView(this))
{
    setObjectName(QStringLiteral("recordsPage"));
    setFocusPolicy(Qt::StrongFocus);
    chart_->setMinimumHeight(160);
    chart_->setToolTip(tr("月をクリックすると、その月の記録を表示します（Home/End/←/→で移動）"));
    monthList_->setObjectName(QStringLiteral("monthRecords"));
    monthCaption_->setObjectName(QStringLiteral("monthCaption"));

    sorted_->setSourceModel(model_);
    sorted_->setSortRole(SortRole);
    table_->setObjectName(QStringLiteral("recordsTable"));
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(RecordsModel::At, Qt::DescendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(chart_, 3);
    topLayout->addWidget(monthCaption_);
    topLayout->addWidget(monthList_, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(table_);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);

    connect(chart_, &BarChart::barClicked, this, &RecordsPage::showMonth);
    connect(table_, &QTableView::doubleClicked, this, &RecordsPage::activateTableRow);
    connect(monthList_, &QListWidget::itemDoubleClicked, this,
        [this](QListWidgetItem* item) { emit songActivated(item->data(SongKeyRole).toString()); });
}

void RecordsPage::setRecords(const RecordsView& view)
{
    view_ = view;
    ChartRows rows;
    rows.reserve(view.perMonth.size());
    for (const MonthPlays& m : view.perMonth)
        rows.push_back({QStringLiteral("%1/%2").arg(m.year).arg(m.month, 2, 10, QLatin1Char('0')).toStdString(),
            ChartValue(m.plays)});
    chart_->setRows(rows);
    model_->setRecords(view.rows);
    showMonth(view.perMonth.empty() ? -1 : static_cast<int>(view.perMonth.size()) - 1);
}

void RecordsPage::showMonth(int index)
{
    monthList_->clear();
    if (index < 0 || index >= static_cast<int>(view_.perMonth.size())) {
        month_ = -1;
        monthCaption_->setText(tr("記録はありません"));
        return;
    }
    month_ = index;
    const MonthPlays& m = view_.perMonth[static_cast<std::size_t>(index)];
    monthCaption_->setText(tr("%1年%2月の記録: %3件").arg(m.year).arg(m.month).arg(m.plays));
    for (const RecordRow& r : view_.rows) {
        const CivilDate d = civilDate(TimedRow{r.seconds, r.row}.day());
        if (d.year != m.year || d.month != m.month)
            continue;
        auto* item
            = new QListWidgetItem(QStringLiteral("%1  %2  %3  %4")
                                      .arg(SessionTableModel::timeText(r.seconds), QString::fromStdString(r.title),
                                          RecordsModel::withGain(r.score,
                                              r.previousScore ? std::optional<double>(*r.previousScore) : std::nullopt),
                                          RecordsModel::marksText(r)),
                monthList_);
        item->setData(SongKeyRole, QString::fromStdString(r.title));
    }
}

void RecordsPage::keyPressEvent(QKeyEvent* event)
{
    const int last = static_cast<int>(view_.perMonth.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Home: showMonth(0); break;
    case Qt::Key_End: showMonth(last); break;
    case Qt::Key_Left: showMonth(std::max(0, month_ - 1)); break;
    case Qt::Key_Right: showMonth(std::min(last, month_ + 1)); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void RecordsPage::activateTableRow(const QModelIndex& index)
{
    if (index.isValid())
        emit songActivated(index.data(SongKeyRole).toString());
}

} // namespace tolvane
