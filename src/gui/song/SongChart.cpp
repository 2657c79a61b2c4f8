#include "gui/song/SongChart.h"

#include "gui/charts/ChartPalette.h"

#include <QChart>
#include <QEvent>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace tolvane {

namespace {

// A round dot for a series drawn as dots only.
QImage dotImage(int size, const QColor& color)
{
    QImage marker(size, size, QImage::Format_ARGB32_Premultiplied);
    marker.fill(Qt::transparent);
    QPainter painter(&marker);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0, 0, size, size));
    return marker;
}

// A series of dots without a line: a line series with a light marker draws
// ten thousand attempts in one pass, where a scatter series makes a
// graphics item of every dot.
QLineSeries* dotSeries(const QString& name, int size, const QColor& color)
{
    auto* series = new QLineSeries;
    series->setName(name);
    series->setLightMarker(dotImage(size, color));
    series->setMarkerSize(size);
    QPen pen(color);
    pen.setStyle(Qt::NoPen);
    series->setPen(pen);
    return series;
}

// A round step for the attempt axis giving at most about ten ticks.
double tickInterval(std::size_t attempts)
{
    double step = 1;
    while (static_cast<double>(attempts) / step > 10) {
        for (const double factor : {2.0, 2.5, 2.0}) {
            step *= factor;
            if (static_cast<double>(attempts) / step <= 10)
                break;
        }
    }
    return step;
}

} // namespace

SongChart::SongChart(QWidget* parent)
    : QChartView(parent)
{
    setObjectName(QStringLiteral("songChart"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(180);
    applyChartPalette(*chart(), palette());
}

void SongChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        applyChartPalette(*chart(), palette());
    QChartView::changeEvent(event);
}

void SongChart::showAttempts(const std::vector<SongAttempt>& attempts)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    const int dot = attempts.size() > 300 ? 4 : 7;
    // Brighter dots on a dark window, where the light theme's blue sinks.
    const bool dark = isDarkPalette(palette());
    auto* scores = dotSeries(QStringLiteral("スコア"), dot, dark ? QColor(0x6c, 0x9e, 0xff) : QColor(0x33, 0x66, 0xcc));
    auto* best = new QLineSeries;
    best->setName(QStringLiteral("自己ベスト"));
    auto* combos = dotSeries(QStringLiteral("MaxCombo"), std::max(3, dot - 1), QColor(0x99, 0x99, 0x99));

    QList<QPointF> scorePoints, bestPoints, comboPoints;
    scorePoints.reserve(static_cast<qsizetype>(attempts.size()));
    std::int32_t runningBest = 0;
    double topCombo = 0;
    std::int32_t topScore = 0;
    for (const SongAttempt& a : attempts) {
        // The running best as steps: a point where it rises, and the last attempt.
        if (bestPoints.isEmpty() || a.score > runningBest) {
            if (!bestPoints.isEmpty())
                bestPoints.append(QPointF(a.attempt, runningBest));
            runningBest = std::max(runningBest, a.score);
            bestPoints.append(QPointF(a.attempt, runningBest));
        }
        topScore = std::max(topScore, a.score);
        topCombo = std::max(topCombo, a.maxCombo);
        scorePoints.append(QPointF(a.attempt, a.score));
        comboPoints.append(QPointF(a.attempt, a.maxCombo));
    }
    if (!attempts.empty() && bestPoints.last().x() != attempts.back().attempt)
        bestPoints.append(QPointF(attempts.back().attempt, runningBest));
    scores->replace(scorePoints);
    best->replace(bestPoints);
    combos->replace(comboPoints);
    chart->addSeries(combos);
    chart->addSeries(scores);
    chart->addSeries(best);
    QPen bestPen(dark ? QColor(0xff, 0x7a, 0x50) : QColor(0xd0, 0x40, 0x20));
    bestPen.setWidthF(2.0);
    best->setPen(bestPen);

    auto* attemptAxis = new QValueAxis;
    attemptAxis->setTitleText(tr("プレイ（回目）"));
    attemptAxis->setLabelFormat(QStringLiteral("%d"));
    // The attempts exactly, first to last: rounding the axis up would leave
    // an empty stretch after the last attempt.
    attemptAxis->setRange(attempts.empty() ? 0 : 1, std::max<double>(2, static_cast<double>(attempts.size())));
    attemptAxis->setTickType(QValueAxis::TicksDynamic);
    attemptAxis->setTickAnchor(0);
    attemptAxis->setTickInterval(tickInterval(attempts.size()));
    attemptAxis->setMinorTickCount(0);
    auto* scoreAxis = new QValueAxis;
    scoreAxis->setTitleText(tr("スコア（点）"));
    scoreAxis->setLabelFormat(QStringLiteral("%d"));
    scoreAxis->setRange(0, std::max(1, topScore));
    scoreAxis->applyNiceNumbers();
    auto* comboAxis = new QValueAxis;
    comboAxis->setTitleText(tr("MaxCombo（コンボ）"));
    comboAxis->setLabelFormat(QStringLiteral("%d"));
    comboAxis->setRange(0, std::max(1.0, topCombo));
    comboAxis->applyNiceNumbers();

    chart->addAxis(attemptAxis, Qt::AlignBottom);
    chart->addAxis(scoreAxis, Qt::AlignLeft);
    chart->addAxis(comboAxis, Qt::AlignRight);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(scores), static_cast<QAbstractSeries*>(best)}) {
        s->attachAxis(attemptAxis);
        s->attachAxis(scoreAxis);
    }
    combos->attachAxis(attemptAxis);
    combos->attachAxis(comboAxis);
    applyChartPalette(*chart, palette());

    QChart* old = this->chart();
    setChart(chart);
    delete old;
}

} // namespace tolvane
