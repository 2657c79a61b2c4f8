#include "gui/charts/NavigationPanel.h"

#include "gui/charts/BarChart.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

namespace tolvane {

namespace {

// The property holding what a button does, before any reason it cannot.
constexpr const char* kPlainTip = "plainToolTip";

QLabel* caption(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* arrow(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Square buttons, as wide as they are high, so the cross keeps its shape.
    const int side = b->fontMetrics().height() + 10;
    b->setFixedSize(side, side);
    return b;
}

} // namespace

NavigationPanel::NavigationPanel(QWidget* parent)
    : QFrame(parent)
    , from_(caption(QStringLiteral("periodFromCaption"), QString(), this))
    , to_(caption(QStringLiteral("periodToCaption"), QString(), this))
    , until_(caption(QStringLiteral("periodUntilCaption"), QStringLiteral("まで"), this))
    , zoomIn_(arrow(QStringLiteral("zoomInButton"), QStringLiteral("+"), this))
    , earlier_(arrow(QStringLiteral("earlierButton"), QStringLiteral("←"), this))
    , later_(arrow(QStringLiteral("laterButton"), QStringLiteral("→"), this))
    , zoomOut_(arrow(QStringLiteral("zoomOutButton"), QStringLiteral("-"), this))
{
    setObjectName(QStringLiteral("navigationPanel"));
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setFont(chartFont());

    auto* cross = new QGridLayout;
    cross->setSpacing(0);
    cross->addWidget(zoomIn_, 0, 1);
    cross->addWidget(earlier_, 1, 0);
    cross->addWidget(later_, 1, 2);
    cross->addWidget(zoomOut_, 2, 1);

    // In a low window the panel scrolls rather than squeezing its captions
    // onto the buttons.
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("navigationScroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(area);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    auto* box = new QVBoxLayout(content);
    box->setSpacing(2);
    box->addWidget(caption(QStringLiteral("buttonsCaption"), QStringLiteral("操作ボタン"), this));
    box->addLayout(cross);
    box->setAlignment(cross, Qt::AlignHCenter);
    box->addSpacing(fontMetrics().height() / 2);
    box->addWidget(caption(QStringLiteral("detailsCaption"), QStringLiteral("詳細情報"), this));
    box->addWidget(from_);
    box->addWidget(caption(QStringLiteral("periodFromSuffix"), QStringLiteral("から"), this));
    box->addWidget(to_);
    box->addWidget(until_);
    box->addStretch();

    // Wide enough for the longest caption a drawing gives (a day's last
    // hour), so the chart beside it does not shift from one drawing to the next.
    const int widest
        = fontMetrics().horizontalAdvance(QStringLiteral("2000年12月30日23時")) + 2 * fontMetrics().averageCharWidth();
    const QMargins margins = box->contentsMargins();
    const int scrollBar = area->verticalScrollBar()->sizeHint().width();
    setMinimumWidth(widest + margins.left() + margins.right() + 2 * frameWidth() + scrollBar);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    // What each button does, with its key; a clicked bar zooms in too. The
    // tooltips add why a disabled button cannot act (showLimits).
    zoomIn_->setProperty(kPlainTip, QStringLiteral("細かい期間で表示（＋キー、棒のクリックでその期間へ）"));
    zoomOut_->setProperty(kPlainTip, QStringLiteral("大きい期間で表示（－キー）"));
    earlier_->setProperty(kPlainTip, QStringLiteral("前の期間（←キー、Homeで最初のプレイ）"));
    later_->setProperty(kPlainTip, QStringLiteral("次の期間（→キー、Endで最後のプレイ）"));
    showLimits();

    connect(zoomIn_, &QPushButton::clicked, this, &NavigationPanel::zoomInClicked);
    connect(zoomOut_, &QPushButton::clicked, this, &NavigationPanel::zoomOutClicked);
    connect(earlier_, &QPushButton::clicked, this, &NavigationPanel::earlierClicked);
    connect(later_, &QPushButton::clicked, this, &NavigationPanel::laterClicked);
}

void NavigationPanel::showCaptions(const QString& from, const QString& to, const QString& until)
{
    from_->setText(from);
    to_->setText(to);
    until_->setText(until);
}

void NavigationPanel::setButtonsEnabled(bool enabled)
{
    running_ = !enabled;
    showLimits();
}

void NavigationPanel::setLimits(const ChartLimits& limits)
{
    limits_ = limits;
    showLimits();
}

QString NavigationPanel::reasonText(ChartLimit limit) const
{
    switch (limit) {
    case ChartLimit::None: return {};
    case ChartLimit::NotDrawn: return tr("ログを読み込むと使えます");
    case ChartLimit::Finest: return tr("いちばん細かい期間（1日の時間ごと）を表示しています");
    case ChartLimit::Coarsest: return tr("いちばん大きい期間（全期間）を表示しています");
    case ChartLimit::WholeSpan: return tr("全期間を表示しているので、前後の期間はありません");
    case ChartLimit::FirstPeriod: return tr("最初のプレイのある期間を表示しています");
    case ChartLimit::LastPeriod: return tr("最後のプレイのある期間を表示しています");
    }
    return {};
}

void NavigationPanel::showLimits()
{
    const std::pair<QPushButton*, ChartLimit> buttons[] = {
        {zoomIn_, limits_.zoomIn}, {zoomOut_, limits_.zoomOut}, {earlier_, limits_.earlier}, {later_, limits_.later}};
    for (const auto& [button, limit] : buttons) {
        const QString plain = button->property(kPlainTip).toString();
        const QString reason = running_ ? tr("ログの読み込み中は使えません") : reasonText(limit);
        button->setEnabled(reason.isEmpty());
        button->setToolTip(reason.isEmpty() ? plain : plain + QLatin1Char('\n') + tr("使えません: %1").arg(reason));
    }
}

} // namespace tolvane
