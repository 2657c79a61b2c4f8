#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace tolvane::ChartExport {

// The chart under a heading: its title ("年別") in bold and, on a line of
// its own, the period it shows ("2001年1月 – 2004年12月"). An empty period
// leaves its line out; with both empty the chart stands alone.
// As PNG, at the device pixel ratio of the screen the chart is on.
QByteArray png(QWidget& chart, const QString& title, const QString& period);
// As SVG, at the chart's size on screen; the title is the document's too.
QByteArray svg(QWidget& chart, const QString& title, const QString& period);

} // namespace tolvane::ChartExport
