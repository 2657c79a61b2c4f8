#pragma once

class QChart;
class QPalette;

namespace tolvane {

// Paints a chart's background, axes, grid, titles and legend in a widget
// palette's colours, so a chart on a dark desktop is dark with light text
// and on a light one as before. The series keep their own colours.
void applyChartPalette(QChart& chart, const QPalette& palette);

// Whether a palette is a dark one: light text on a dark window.
bool isDarkPalette(const QPalette& palette);

} // namespace tolvane
