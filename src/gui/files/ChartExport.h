#pragma once

#include <QByteArray>

class QWidget;

namespace tolvane::ChartExport {

// The chart as PNG, at the device pixel ratio of the screen it is on.
QByteArray png(QWidget& chart);
// The chart as SVG, at its size on screen.
QByteArray svg(QWidget& chart, const QString& title);

} // namespace tolvane::ChartExport
