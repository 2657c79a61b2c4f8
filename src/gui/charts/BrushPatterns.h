#pragma once

#include "core/trends/ChartStyle.h"

#include <QBrush>
#include <QColor>
#include <QImage>

namespace tolvane {

inline constexpr int kPatternCount = 18; // pattern numbers 0..17
inline constexpr int kPatternSize = 8; // a pattern tile is 8 x 8 pixels

// One tile of pattern `index`: 0..4 shade 94, 88, 75, 50 and 25 % of the area,
// then bold horizontal, bold vertical, bold falling and bold rising lines,
// checks, weave, horizontal, vertical, falling and rising lines, grid, trellis
// and inverted trellis. Pattern pixels take `pattern`, the rest `fill`. Any
// other index gives a tile of `fill` alone.
QImage patternImage(int index, const QColor& pattern, const QColor& fill);

// The brush of a chart's bars. Unpainted bars get no brush; a patterned fill
// tiles the pattern, or paints the plain fill colour when the pattern number
// is not one of the eighteen.
QBrush barBrush(const BarStyle& style);

// A style's colours; parts outside 0..255 are clamped.
QColor fillColorOf(const BarStyle& style);
QColor patternColorOf(const BarStyle& style);

} // namespace tolvane
