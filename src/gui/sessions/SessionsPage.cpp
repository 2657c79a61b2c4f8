#include "gui/sessions/SessionsPage.h"

#include "gui/pages/ScrollingPage.h"
#include "gui/search/StableSortProxy.h"
#include "gui/sessions/SessionTableModel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QString dayText(std::int64_t serial)
{
    QString text = QString::fromStdString(isoDay(serial));
    return text.replace(QLatin1Char('-'), QLatin1Char('/'));
}

QString streakText(const DayStreak& streak)
{
    if (streak.days == 0)
        return QStringLiteral("—");
    return QStringLiteral("%1日（%2 – %3）").arg(streak.days).arg(dayText(streak.from), dayText(streak.to));
}

} // namespace

SessionsPage::SessionsPage(QWidget* parent)
    : QWidget(parent)
    , model_(new SessionTableModel(this))
    , sorted_(new StableSortProxy(this))
{
    setObjectName(QStringLiteral("sessionsPage"));
    // In a small window the figures and the table scroll, whole.
    QWidget* content = scrollingContent(*this);
    gap_ = new QSpinBox(content);
    table_ = new QTableView(content);
    gap_->setObjectName(QStringLiteral("sessionGap"));
    gap_->setRange(kMinSessionGap, kMaxSessionGap);
    gap_->setValue(kDefaultSessionGap);
    gap_->setSuffix(QStringLiteral(" 分"));
    gap_->setToolTip(QStringLiteral("この時間より長くプレイが空くと、次のセッションになります"));
    // Typing "45" must not split the sessions again at "4".
    gap_->setKeyboardTracking(false);
    // Room for the widest value, whatever the style draws around it.
    gap_->setMinimumWidth(gap_->sizeHint().width());

    auto* figures = new QFormLayout;
    figures->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    addFigure(figures, QStringLiteral("現在の連続プレイ:"), QStringLiteral("currentStreak"));
    addFigure(figures, QStringLiteral("最長の連続プレイ:"), QStringLiteral("longestStreak"));
    addFigure(figures, QStringLiteral("最も多く遊んだ日:"), QStringLiteral("busiestDay"));
    addFigure(figures, QStringLiteral("最長のセッション:"), QStringLiteral("longestSession"));
    addFigure(figures, QStringLiteral("合計プレイ時間:"), QStringLiteral("totalTime"));
    addFigure(figures, QStringLiteral("プレイした日数:"), QStringLiteral("daysPlayed"));
    auto* gapRow = new QHBoxLayout;
    gapRow->addWidget(gap_);
    gapRow->addStretch(1);
    figures->addRow(QStringLiteral("セッションの区切り:"), gapRow);

    sorted_->setSourceModel(model_);
    sorted_->setSortRole(SessionTableModel::SortRole);
    table_->setObjectName(QStringLiteral("sessionTable"));
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(SessionTableModel::Start, Qt::DescendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // A few rows stay in view below the figures, however small the window.
    table_->setMinimumHeight(
        table_->horizontalHeader()->sizeHint().height() + 4 * (table_->fontMetrics().height() + 6));

    auto* layout = new QVBoxLayout(content);
    layout->addLayout(figures);
    layout->addWidget(table_, 1);

    connect(gap_, &QSpinBox::valueChanged, this, &SessionsPage::gapChanged);
}

QLabel* SessionsPage::addFigure(QFormLayout* form, const QString& caption, const QString& name)
{
    auto* value = new QLabel(QStringLiteral("—"), this);
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, value);
    return value;
}

QString SessionsPage::figureText(const QString& name) const
{
    const auto* label = findChild<QLabel*>(name);
    return label ? label->text() : QString();
}

int SessionsPage::gapMinutes() const
{
    return gap_->value();
}

void SessionsPage::setGapMinutes(int minutes)
{
    const QSignalBlocker quiet(gap_);
    gap_->setValue(minutes);
}

void SessionsPage::clear()
{
    model_->setSessions({});
    for (auto* label : findChildren<QLabel*>())
        if (!label->objectName().isEmpty())
            label->setText(QStringLiteral("—"));
}

void SessionsPage::setFigures(const HabitFigures& figures)
{
    if (figures.timeline.empty()) {
        clear();
        return;
    }
    const PlayStreaks& s = figures.streaks;
    const auto set = [this](const char* name, const QString& text) {
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    };
    set("currentStreak", streakText(s.current));
    set("longestStreak", streakText(s.longest));
    set("busiestDay", QStringLiteral("%1（%2回）").arg(dayText(s.busiestDay.day)).arg(s.busiestDay.plays));
    if (s.longestSession)
        set("longestSession",
            QStringLiteral("%1（%2から、%3回）")
                .arg(SessionTableModel::lengthText(s.longestSession->minutes),
                    SessionTableModel::timeText(s.longestSession->start))
                .arg(s.longestSession->plays));
    set("totalTime",
        QStringLiteral("%1（%2セッション）")
            .arg(SessionTableModel::lengthText(s.totalMinutes))
            .arg(figures.sessions.size()));
    set("daysPlayed", QStringLiteral("%1日").arg(s.daysPlayed));
    model_->setSessions(figures.sessions);
}

} // namespace tolvane
