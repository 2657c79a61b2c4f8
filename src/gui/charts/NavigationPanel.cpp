#include "gui/charts/NavigationPanel.h"

#include "gui/charts/BarChart.h"
#include "gui/MainLayout.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace tolvane {

namespace {

constexpr double kWidth = 1500;
constexpr double kHeight = 3060;
constexpr double kButton = 375;
constexpr double kCaptionLeft = 60;
constexpr double kCaptionWidth = kWidth - 2 * kCaptionLeft;
constexpr double kCaptionHeight = 240;
// The cross of buttons is centred on the panel.
constexpr double kCrossLeft = (kWidth - 3 * kButton) / 2;
constexpr double kCrossTop = 420;
constexpr double kSmallestPointSize = 6;

QLabel* caption(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// A day's hours make a caption wider than the panel; it shrinks to fit
// rather than lose its end.
void fitToWidth(QLabel* label)
{
    QFont font = chartFont();
    const int room = label->contentsRect().width();
    while (font.pointSizeF() > kSmallestPointSize && QFontMetricsF(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

} // namespace

NavigationPanel::NavigationPanel(QWidget* parent)
    : QFrame(parent)
    , label1_(caption(QStringLiteral("Label1"), QStringLiteral("操作ボタン"), this))
    , up_(button(QStringLiteral("CommandUP"), QStringLiteral("+"), this))
    , left_(button(QStringLiteral("CommandL"), QStringLiteral("←"), this))
    , right_(button(QStringLiteral("CommandR"), QStringLiteral("→"), this))
    , down_(button(QStringLiteral("CommandDown"), QStringLiteral("-"), this))
    , label3_(caption(QStringLiteral("Label3"), QStringLiteral("詳細情報"), this))
    , from_(caption(QStringLiteral("Label6(0)"), QString(), this))
    , label5_(caption(QStringLiteral("Label5"), QStringLiteral("から"), this))
    , to_(caption(QStringLiteral("Label6(1)"), QString(), this))
    , label2_(caption(QStringLiteral("Label2"), QStringLiteral("まで"), this))
{
    setObjectName(QStringLiteral("Frame3"));
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setFont(chartFont());

    connect(up_, &QPushButton::clicked, this, &NavigationPanel::upClicked);
    connect(down_, &QPushButton::clicked, this, &NavigationPanel::downClicked);
    connect(left_, &QPushButton::clicked, this, &NavigationPanel::leftClicked);
    connect(right_, &QPushButton::clicked, this, &NavigationPanel::rightClicked);

    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
    placeControls(dpi);
    resize(twipsToPixels(kWidth, dpi), twipsToPixels(kHeight, dpi));
}

void NavigationPanel::placeControls(double dpi)
{
    auto place = [dpi](QWidget* widget, TwipRect r) {
        widget->setGeometry(twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi),
            twipsToPixels(r.height, dpi));
    };
    const std::pair<QWidget*, TwipRect> places[] = {
        {label1_, {kCaptionLeft, 120, kCaptionWidth, kCaptionHeight}},
        {up_, {kCrossLeft + kButton, kCrossTop, kButton, kButton}},
        {left_, {kCrossLeft, kCrossTop + kButton, kButton, kButton}},
        {right_, {kCrossLeft + 2 * kButton, kCrossTop + kButton, kButton, kButton}},
        {down_, {kCrossLeft + kButton, kCrossTop + 2 * kButton, kButton, kButton}},
        {label3_, {kCaptionLeft, 1680, kCaptionWidth, kCaptionHeight}},
        {from_, {kCaptionLeft, 2040, kCaptionWidth, kCaptionHeight}},
        {label5_, {kCaptionLeft, 2280, kCaptionWidth, kCaptionHeight}},
        {to_, {kCaptionLeft, 2520, kCaptionWidth, kCaptionHeight}},
        {label2_, {kCaptionLeft, 2760, kCaptionWidth, kCaptionHeight}},
    };
    for (const auto& [widget, rect] : places)
        place(widget, rect);
    fitCaptions();
}

void NavigationPanel::showCaptions(const QString& from, const QString& to, const QString& label2)
{
    from_->setText(from);
    to_->setText(to);
    label2_->setText(label2);
    fitCaptions();
}

void NavigationPanel::fitCaptions()
{
    for (QLabel* label : {from_, to_, label2_})
        fitToWidth(label);
}

void NavigationPanel::setButtonsEnabled(bool enabled)
{
    for (QPushButton* b : {up_, left_, right_, down_})
        b->setEnabled(enabled);
}

} // namespace tolvane
