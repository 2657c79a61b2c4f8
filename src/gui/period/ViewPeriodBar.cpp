#include "gui/period/ViewPeriodBar.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

QDate qdateOf(DateValue day)
{
    const CivilDate c = civilDate(static_cast<std::int64_t>(std::floor(day)));
    return QDate(c.year, c.month, c.day);
}

DateValue dateValueOf(QDate date)
{
    return makeDate(date.year(), date.month(), date.day());
}

QString dayText(QDate date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

} // namespace

ViewPeriodBar::ViewPeriodBar(QWidget* parent)
    : QWidget(parent)
    , presets_(new QComboBox(this))
    , from_(new QDateEdit(this))
    , to_(new QDateEdit(this))
    , banner_(new QLabel(this))
{
    setObjectName(QStringLiteral("viewPeriodBar"));
    presets_->setObjectName(QStringLiteral("viewPeriod"));
    presets_->addItem(QStringLiteral("全期間"), static_cast<int>(PeriodPreset::All));
    presets_->addItem(QStringLiteral("今年"), static_cast<int>(PeriodPreset::ThisYear));
    presets_->addItem(QStringLiteral("過去12か月"), static_cast<int>(PeriodPreset::Last12Months));
    presets_->addItem(QStringLiteral("過去30日"), static_cast<int>(PeriodPreset::Last30Days));
    presets_->addItem(QStringLiteral("期間指定"), static_cast<int>(PeriodPreset::Custom));
    presets_->setToolTip(
        QStringLiteral("ランキング・グラフ・カレンダー・セッションを絞り込む期間（最後のプレイの日から数えます）"));
    for (QDateEdit* edit : {from_, to_}) {
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setCalendarPopup(true);
        edit->setMinimumDate(QDate(1, 1, 1));
        edit->setMaximumDate(QDate(9999, 12, 31));
        // A typed year is one new period, not one for each digit on the way.
        edit->setKeyboardTracking(false);
        edit->setVisible(false);
        // A click picks the whole part under it, so typing replaces it.
        if (auto* text = edit->findChild<QLineEdit*>())
            text->installEventFilter(this);
    }
    from_->setObjectName(QStringLiteral("viewPeriodFrom"));
    to_->setObjectName(QStringLiteral("viewPeriodTo"));
    banner_->setObjectName(QStringLiteral("viewPeriodBanner"));
    banner_->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #5a4300; padding: 1px 6px; }"));
    banner_->setVisible(false);

    auto* label = new QLabel(QStringLiteral("表示期間:"), this);
    label->setBuddy(presets_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(9, 0, 9, 0);
    layout->addWidget(label);
    layout->addWidget(presets_);
    layout->addWidget(from_);
    layout->addWidget(to_);
    layout->addWidget(banner_);
    layout->addStretch(1);

    connect(presets_, &QComboBox::currentIndexChanged, this, &ViewPeriodBar::presetChosen);
    connect(from_, &QDateEdit::dateChanged, this, &ViewPeriodBar::datesEdited);
    connect(to_, &QDateEdit::dateChanged, this, &ViewPeriodBar::datesEdited);
}

bool ViewPeriodBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QDateEdit* edit : {from_, to_}) {
            auto* text = qobject_cast<QLineEdit*>(watched);
            if (!text || text->parent() != edit)
                continue;
            // After the edit has placed its cursor; a dragged selection stays.
            QTimer::singleShot(0, edit, [edit, text] {
                if (!text->hasSelectedText())
                    edit->setSelectedSection(edit->currentSection());
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ViewPeriodBar::setPlays(DateValue firstDay, DateValue lastDay)
{
    firstDay_ = firstDay;
    lastDay_ = lastDay;
    const QSignalBlocker quietPresets(presets_);
    const QSignalBlocker quietFrom(from_);
    const QSignalBlocker quietTo(to_);
    presets_->setCurrentIndex(0);
    from_->setDate(qdateOf(firstDay));
    to_->setDate(qdateOf(lastDay));
    from_->setVisible(false);
    to_->setVisible(false);
    banner_->setVisible(false);
}

void ViewPeriodBar::extendPlays(DateValue lastDay)
{
    if (lastDay <= lastDay_)
        return;
    lastDay_ = lastDay;
    const PeriodPreset shown = preset();
    if (shown != PeriodPreset::All && shown != PeriodPreset::Custom)
        announce();
}

PeriodPreset ViewPeriodBar::preset() const
{
    return static_cast<PeriodPreset>(presets_->currentData().toInt());
}

void ViewPeriodBar::choose(PeriodPreset preset)
{
    presets_->setCurrentIndex(presets_->findData(static_cast<int>(preset)));
}

void ViewPeriodBar::setCustomDates(QDate from, QDate to)
{
    {
        const QSignalBlocker quiet(from_);
        from_->setDate(from);
    }
    to_->setDate(to); // announces once
}

ViewSpan ViewPeriodBar::span() const
{
    if (preset() == PeriodPreset::Custom) {
        // Dates typed the wrong way round still mean the days between them.
        const QDate from = std::min(from_->date(), to_->date());
        const QDate to = std::max(from_->date(), to_->date());
        return presetSpan(PeriodPreset::Custom, lastDay_, dateValueOf(from), dateValueOf(to));
    }
    return presetSpan(preset(), lastDay_);
}

QString ViewPeriodBar::periodText() const
{
    const ViewSpan s = span();
    if (s.isWhole())
        return {};
    const QString from = dayText(s.from == 0 ? qdateOf(firstDay_) : qdateOf(std::ceil(s.from)));
    const QString to = dayText(s.to == 0 ? qdateOf(lastDay_) : qdateOf(s.to));
    return QStringLiteral("表示期間: %1 – %2").arg(from, to);
}

void ViewPeriodBar::presetChosen()
{
    const bool custom = preset() == PeriodPreset::Custom;
    from_->setVisible(custom);
    to_->setVisible(custom);
    announce();
}

void ViewPeriodBar::datesEdited()
{
    if (preset() == PeriodPreset::Custom)
        announce();
}

void ViewPeriodBar::announce()
{
    const QString text = periodText();
    banner_->setText(text);
    banner_->setVisible(!text.isEmpty());
    emit spanChanged(span());
}

} // namespace tolvane
