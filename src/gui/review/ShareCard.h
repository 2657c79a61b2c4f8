#pragma once

#include "core/review/YearReview.h"

#include <QImage>

namespace tolvane {

inline constexpr int kShareCardWidth = 1200;
inline constexpr int kShareCardHeight = 630;

// A picture of a year to share: its headline figures, the top songs and
// plays per month, 1200×630 in the program's colours.
QImage renderShareCard(const YearReview& review);

} // namespace tolvane
