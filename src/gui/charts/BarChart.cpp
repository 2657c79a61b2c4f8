#include "gui/charts/BarChart.h"

#include "gui/charts/BrushPatterns.h"
#include "gui/charts/ChartPalette.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QEvent>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QHelpEvent>
#include <QSet>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace tolvane {

namespace {

// Qt Charts cuts an axis label to the axis width shared out among all its
// labels, less this padding on either side.
constexpr double kLabelPadding = 5.0;
// Room left between two neighbouring labels.
constexpr double kLabelGap = 6.0;

// About this many steps up the value axis.
constexpr double kValueSteps = 6.0;

bool isWholeNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool endsWith(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

QString categoryAxisTitle(const ChartRows& rows)
{
    if (rows.empty())
        return {};
    const std::string& first = rows.front().label;
    if (endsWith(first, "曜日)"))
        return QStringLiteral("月/日（曜日）");
    for (const char* unit : {"年", "月", "曜日"}) {
        if (endsWith(first, unit))
            return QString::fromUtf8(unit);
    }
    if (const auto slash = first.find('/'); slash != std::string::npos && isWholeNumber(first.substr(0, slash)))
        return slash > 2 ? QStringLiteral("年/月") : QStringLiteral("月/日");
    if (isWholeNumber(first))
        return rows.size() == 24 && first == "0" ? QStringLiteral("時") : QStringLiteral("日");
    return {};
}

QFont chartFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    return font;
}

BarChart::BarChart(QWidget* parent)
    : QWidget(parent)
    , view_(new QChartView(this))
    , chart_(new QChart)
    , bars_(new QBarSet(QString()))
    , categoryAxis_(new QCategoryAxis)
    , valueAxis_(new QValueAxis)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(view_);

    const QFont font = chartFont();
    setFont(font);
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(2, 6, 8, 2));
    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    // The view came with a chart of its own, which it lets go of unowned.
    QChart* unused = view_->chart();
    view_->setChart(chart_);
    delete unused;
    view_->setFrameShape(QFrame::NoFrame);

    auto* series = new QBarSeries;
    series->setBarWidth(0.7);
    series->append(bars_);
    chart_->addSeries(series);

    // Labels sit under their bars, so the axis needs no category lines.
    categoryAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    categoryAxis_->setGridLineVisible(false);
    categoryAxis_->setLabelsFont(font);
    chart_->addAxis(categoryAxis_, Qt::AlignBottom);
    series->attachAxis(categoryAxis_);

    valueAxis_->setLabelFormat(QStringLiteral("%d"));
    valueAxis_->setLabelsFont(font);
    // Both units go under the bars: Qt Charts cuts a rotated title beside
    // the counts to "..." once the rows change.
    categoryAxis_->setTitleFont(font);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    series->attachAxis(valueAxis_);

    connect(bars_, &QBarSet::hovered, this, &BarChart::showBarTip);
    // Thin bars are hard to hit: a tooltip asked for anywhere in a bar's
    // column shows its value too.
    view_->viewport()->installEventFilter(this);
    // Queued: a receiver that sets new rows would otherwise free the bar
    // set while it is still handling the click.
    connect(bars_, &QBarSet::clicked, this, &BarChart::barClicked, Qt::QueuedConnection);
    connect(chart_, &QChart::plotAreaChanged, this, &BarChart::thinLabels);

    applyChartPalette(*chart_, palette());
    setBarStyle(style_);
    showCategories(1);
    scaleValueAxis();
}

void BarChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        applyChartPalette(*chart_, palette());
        setBarStyle(style_);
    }
    QWidget::changeEvent(event);
}

void BarChart::setRows(const ChartRows& rows)
{
    rows_.clear();
    rows_.reserve(rows.size());
    QList<qreal> values;
    values.reserve(static_cast<qsizetype>(rows.size()));
    for (const ChartRow& row : rows) {
        // A row without a value has no bar; the set still needs a number at its place.
        values.append(row.value ? static_cast<qreal>(*row.value) : 0.0);
        rows_.push_back({QString::fromStdString(row.label), row.value});
    }
    // Plain numbers name days or hours: the tooltips say which.
    const QString title = categoryAxisTitle(rows);
    categoryAxis_->setTitleText(title.isEmpty() ? QString() : tr("%1ごとのプレイ回数（回）").arg(title));
    labelUnit_ = title == QStringLiteral("日") || title == QStringLiteral("時") ? title : QString();
    bars_->remove(0, bars_->count());
    bars_->append(values);
    showCategories(labelStepFor(chart_->plotArea().width()));
    scaleValueAxis();
}

const BarChart::Row* BarChart::rowAt(int row) const
{
    if (row < 1 || row > rowCount())
        return nullptr;
    return &rows_[static_cast<std::size_t>(row - 1)];
}

QString BarChart::rowLabel(int row) const
{
    const Row* r = rowAt(row);
    return r ? r->label : QString();
}

QString BarChart::rowValue(int row) const
{
    const Row* r = rowAt(row);
    return r ? QString::fromStdString(chartValueText(r->value)) : QString();
}

QString BarChart::barToolTip(int row) const
{
    const Row* r = rowAt(row);
    if (!r)
        return QString();
    // "2001/12: 374回"
    return r->label + labelUnit_ + QStringLiteral(": ")
        + (r->value ? tr("%1回").arg(*r->value) : QStringLiteral("値なし"));
}

void BarChart::setBarStyle(const BarStyle& style)
{
    style_ = style;
    bars_->setBrush(barBrush(style));
    // Without a brush only the outline shows the bar, so it takes the text
    // colour whatever the bar colours are: black, or light on a dark window.
    QPen outline(palette().color(QPalette::WindowText));
    outline.setWidth(0);
    bars_->setPen(outline);
}

int BarChart::labelStepFor(double plotWidth) const
{
    const auto count = static_cast<int>(rows_.size());
    if (count == 0 || plotWidth <= 0)
        return 1;
    const QFontMetricsF metrics(categoryAxis_->labelsFont());
    double widest = 0;
    for (const Row& row : rows_)
        widest = std::max(widest, metrics.horizontalAdvance(row.label));
    const double needed = widest + 2 * kLabelPadding + kLabelGap;
    auto fits = [&](int step) {
        const int shown = (count + step - 1) / step;
        return plotWidth / (shown + 1) >= needed;
    };
    // Steps that divide a year of months or a day of hours keep the shown
    // labels on the same months or hours.
    for (int step : {1, 2, 3, 4, 6, 12}) {
        if (fits(step))
            return step;
    }
    int step = 24;
    while (!fits(step) && step < count)
        step += 12;
    return step;
}

void BarChart::thinLabels()
{
    const int step = labelStepFor(chart_->plotArea().width());
    if (step != labelStep_)
        showCategories(step);
}

void BarChart::showCategories(int step)
{
    labelStep_ = step;
    for (const QString& label : categoryAxis_->categoriesLabels())
        categoryAxis_->remove(label);
    categoryAxis_->setStartValue(-0.5);
    // The axis refuses a label it already has; a zero-width space keeps a
    // repeated one apart.
    QSet<QString> used;
    for (int i = 0; i < rowCount(); i += step) {
        QString label = rows_[static_cast<std::size_t>(i)].label;
        while (used.contains(label))
            label += QChar(0x200B);
        used.insert(label);
        categoryAxis_->append(label, i);
    }
    // Bar i stands at i; the axis keeps half a bar either side.
    categoryAxis_->setRange(-0.5, std::max(0.5, rowCount() - 0.5));
}

void BarChart::scaleValueAxis()
{
    double highest = 0;
    for (const Row& row : rows_) {
        if (row.value)
            highest = std::max(highest, static_cast<double>(*row.value));
    }
    // Whole steps of 1, 2 or 5 times a power of ten, the top a whole step
    // at or above the highest bar.
    double step = 1;
    for (int k = 0; highest / step > kValueSteps; k = (k + 1) % 3)
        step *= std::array{2.0, 2.5, 2.0}[static_cast<std::size_t>(k)];
    const double top = std::max(1.0, std::ceil(highest / step)) * step;
    valueAxis_->setRange(0, top);
    valueAxis_->setTickCount(static_cast<int>(std::lround(top / step)) + 1);
}

int BarChart::rowAtViewPoint(QPoint point) const
{
    const QPointF inChart = chart_->mapFromScene(view_->mapToScene(point));
    if (rowCount() == 0 || chart_->series().isEmpty() || !chart_->plotArea().contains(inChart))
        return 0;
    const int index = qRound(chart_->mapToValue(inChart, chart_->series().constFirst()).x());
    return index >= 0 && index < rowCount() ? index + 1 : 0;
}

bool BarChart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_->viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const int row = rowAtViewPoint(help->pos()))
            QToolTip::showText(help->globalPos(), barToolTip(row), view_->viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void BarChart::showBarTip(bool hovering, int index)
{
    if (hovering)
        QToolTip::showText(QCursor::pos(), barToolTip(index + 1), this);
    else
        QToolTip::hideText();
}

} // namespace tolvane
