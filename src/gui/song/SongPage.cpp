#include "gui/song/SongPage.h"

#include "core/analysis/Analysis.h"
#include "core/insights/PlayRows.h"
#include "gui/models/ItemRoles.h"
#include "gui/pages/ScrollingPage.h"
#include "gui/search/HeaderSorting.h"
#include "gui/search/StableSortProxy.h"
#include "gui/song/SongAttemptsModel.h"
#include "gui/song/SongChart.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString grouped(qint64 value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(value);
}

QString valueAt(qint64 value, const std::optional<DateValue>& at)
{
    return at ? QStringLiteral("%1 (%2)").arg(value).arg(dateTimeText(*at))
              : QStringLiteral("%1 (記録なし)").arg(value);
}

} // namespace

SongPage::SongPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("songPage"));

    auto* back = new QPushButton(QStringLiteral("戻る"), this);
    back->setObjectName(QStringLiteral("songBack"));
    back->setToolTip(QStringLiteral("開く前のページに戻ります (Alt+←)"));
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    connect(back, &QPushButton::clicked, this, &SongPage::backRequested);
    title_ = valueLabel(this, "songTitle");
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    auto* top = new QHBoxLayout;
    top->addWidget(back);
    top->addWidget(title_, 1);

    plays_ = valueLabel(this, "songPlays");
    first_ = valueLabel(this, "songFirst");
    last_ = valueLabel(this, "songLast");
    bestScore_ = valueLabel(this, "songBestScore");
    bestCombo_ = valueLabel(this, "songBestCombo");
    fullCombo_ = valueLabel(this, "songFullCombo");
    fullCombo_->setToolTip(QStringLiteral("「MaxCombo」ランキングと同じく、最大コンボを更新したプレイで判定します"));
    firstFullCombo_ = valueLabel(this, "songFirstFullCombo");
    auto* summary = new QFormLayout;
    summary->addRow(QStringLiteral("プレイ回数:"), plays_);
    summary->addRow(QStringLiteral("初プレイ:"), first_);
    summary->addRow(QStringLiteral("最終プレイ:"), last_);
    summary->addRow(QStringLiteral("最高スコア:"), bestScore_);
    summary->addRow(QStringLiteral("最大コンボ:"), bestCombo_);
    summary->addRow(QStringLiteral("フルコンボ:"), fullCombo_);
    summary->addRow(QStringLiteral("初フルコンボ:"), firstFullCombo_);

    perMonth_ = new QTableWidget(0, 2, this);
    perMonth_->setObjectName(QStringLiteral("songPerMonth"));
    perMonth_->setHorizontalHeaderLabels({QStringLiteral("月"), QStringLiteral("プレイ数")});
    perMonth_->verticalHeader()->hide();
    perMonth_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    perMonth_->horizontalHeader()->setStretchLastSection(true);
    perMonth_->setToolTip(QStringLiteral("この曲の月別プレイ数"));

    auto* head = new QHBoxLayout;
    head->addLayout(summary, 1);
    head->addWidget(perMonth_);

    chart_ = new SongChart(this);

    attempts_ = new SongAttemptsModel(this);
    attemptsProxy_ = new StableSortProxy(this);
    attemptsProxy_->setSourceModel(attempts_);
    attemptsProxy_->setSortRole(SortRole);
    attemptsView_ = new QTableView(this);
    attemptsView_->setObjectName(QStringLiteral("songAttempts"));
    attemptsView_->setModel(attemptsProxy_);
    attemptsView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    attemptsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    attemptsView_->verticalHeader()->hide();
    attemptsView_->verticalHeader()->setDefaultSectionSize(attemptsView_->fontMetrics().height() + 6);
    attemptsView_->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows: measuring ten thousand would cost more than the rest of the page.
    attemptsView_->horizontalHeader()->setResizeContentsPrecision(100);
    new HeaderSorting(*attemptsView_, QStringLiteral("プレイ順に戻す"));
    auto* legend = new QLabel(SongAttemptsModel::marksLegend(), this);
    legend->setObjectName(QStringLiteral("songMarksLegend"));
    auto* attemptsBox = new QWidget(this);
    auto* attemptsLayout = new QVBoxLayout(attemptsBox);
    attemptsLayout->setContentsMargins(0, 0, 0, 0);
    attemptsLayout->addWidget(attemptsView_, 1);
    attemptsLayout->addWidget(legend);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(chart_);
    split->addWidget(attemptsBox);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    // A small window scrolls the page rather than squeezing the chart.
    auto* layout = new QVBoxLayout(scrollingContent(*this));
    layout->addLayout(top);
    layout->addLayout(head);
    layout->addWidget(split, 1);
}

void SongPage::showSong(SongView song)
{
    song_ = std::move(song);
    title_->setText(QString::fromStdString(song_.title));
    showSummary();
    showPerMonth();
    chart_->showAttempts(song_.attempts);
    attempts_->setAttempts(song_.attempts);
    attemptsView_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    attemptsView_->resizeColumnsToContents();
    attemptsView_->scrollToTop();
}

void SongPage::showSummary()
{
    plays_->setText(QStringLiteral("%1 回").arg(grouped(song_.plays)));
    first_->setText(dateTimeText(song_.first));
    last_->setText(dateTimeText(song_.last));
    bestScore_->setText(valueAt(song_.bestScore, song_.bestScoreAt));
    bestCombo_->setText(valueAt(song_.bestCombo, song_.bestComboAt));
    fullCombo_->setText(song_.fullCombo ? QStringLiteral("達成") : QStringLiteral("未達成"));
    if (const auto& fc = song_.firstFullCombo)
        firstFullCombo_->setText(QStringLiteral("%1 回目 (%2、初プレイから %3 日)")
                                     .arg(fc->attempt)
                                     .arg(dateTimeText(fc->at))
                                     .arg(fc->days));
    else
        firstFullCombo_->setText(QStringLiteral("なし"));
}

void SongPage::showPerMonth()
{
    perMonth_->setRowCount(static_cast<int>(song_.perMonth.size()));
    int row = 0;
    for (const MonthPlays& m : song_.perMonth) {
        perMonth_->setItem(row, 0, new QTableWidgetItem(QString::asprintf("%04d/%02d", m.year, m.month)));
        auto* count = new QTableWidgetItem(QString::number(m.plays));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        perMonth_->setItem(row, 1, count);
        ++row;
    }
    perMonth_->resizeColumnToContents(0);
    // Most recent month in view: that is what a player looks for first.
    perMonth_->scrollToBottom();
}

std::optional<SongView> findSong(const Analysis& analysis, const QString& key)
{
    return buildSongView(analysis.plays, allRows(analysis.plays), analysis.rankings, key.toStdString());
}

} // namespace tolvane
