#include "gui/charts/ChartPalette.h"

#include <QAbstractAxis>
#include <QChart>
#include <QLegend>
#include <QPalette>
#include <QPen>

namespace tolvane {

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

void applyChartPalette(QChart& chart, const QPalette& palette)
{
    const QColor text = palette.color(QPalette::WindowText);
    // Grid lines halfway between the text and the background: seen, not loud.
    const QColor base = palette.color(QPalette::Base);
    const QColor grid = QColor::fromRgbF((text.redF() + base.redF()) / 2 * 0.6 + base.redF() * 0.4,
        (text.greenF() + base.greenF()) / 2 * 0.6 + base.greenF() * 0.4,
        (text.blueF() + base.blueF()) / 2 * 0.6 + base.blueF() * 0.4);
    chart.setBackgroundBrush(base);
    chart.setBackgroundPen(Qt::NoPen);
    chart.setTitleBrush(text);
    chart.legend()->setLabelColor(text);
    for (QAbstractAxis* axis : chart.axes()) {
        axis->setLabelsColor(text);
        axis->setTitleBrush(text);
        axis->setLinePenColor(text);
        axis->setGridLineColor(grid);
        axis->setMinorGridLineColor(grid);
    }
}

} // namespace tolvane
