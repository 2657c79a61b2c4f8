#include "gui/song/SongChart.h"

#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace tolvane {

SongChart::SongChart(QWidget* parent)
    : QChartView(parent)
{
    setObjectName(QStringLiteral("songChart"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(180);
}

void SongChart::showAttempts(const std::vector<SongAttempt>& attempts)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    auto* scores = new QScatterSeries;
    scores->setName(QStringLiteral("スコア"));
    scores->setMarkerSize(attempts.size() > 300 ? 4.0 : 7.0);
    scores->setBorderColor(Qt::transparent);
    auto* best = new QLineSeries;
    best->setName(QStringLiteral("自己ベスト"));
    auto* combos = new QLineSeries;
    combos->setName(QStringLiteral("MaxCombo"));

    QList<QPointF> scorePoints, bestPoints, comboPoints;
    scorePoints.reserve(static_cast<qsizetype>(attempts.size()));
    std::int32_t runningBest = 0;
    double topCombo = 0;
    std::int32_t topScore = 0;
    for (const SongAttempt& a : attempts) {
        runningBest = std::max(runningBest, a.score);
        topScore = std::max(topScore, a.score);
        topCombo = std::max(topCombo, a.maxCombo);
        scorePoints.append(QPointF(a.attempt, a.score));
        bestPoints.append(QPointF(a.attempt, runningBest));
        comboPoints.append(QPointF(a.attempt, a.maxCombo));
    }
    scores->replace(scorePoints);
    best->replace(bestPoints);
    combos->replace(comboPoints);
    chart->addSeries(combos);
    chart->addSeries(scores);
    chart->addSeries(best);
    QPen comboPen(QColor(0x99, 0x99, 0x99));
    comboPen.setWidthF(1.0);
    combos->setPen(comboPen);
    scores->setColor(QColor(0x33, 0x66, 0xcc));
    QPen bestPen(QColor(0xd0, 0x40, 0x20));
    bestPen.setWidthF(2.0);
    best->setPen(bestPen);

    auto* attemptAxis = new QValueAxis;
    attemptAxis->setTitleText(QStringLiteral("回"));
    attemptAxis->setLabelFormat(QStringLiteral("%d"));
    attemptAxis->setRange(attempts.empty() ? 0 : 1, std::max<double>(2, static_cast<double>(attempts.size())));
    attemptAxis->applyNiceNumbers();
    attemptAxis->setMinorTickCount(0);
    auto* scoreAxis = new QValueAxis;
    scoreAxis->setTitleText(QStringLiteral("スコア"));
    scoreAxis->setLabelFormat(QStringLiteral("%d"));
    scoreAxis->setRange(0, std::max(1, topScore));
    scoreAxis->applyNiceNumbers();
    auto* comboAxis = new QValueAxis;
    comboAxis->setTitleText(QStringLiteral("MaxCombo"));
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

    QChart* old = this->chart();
    setChart(chart);
    delete old;
}

} // namespace tolvane
