#pragma once

#include <string>

namespace tolvane {

// A double as the data list shows it: up to 15 significant digits, "." as the
// decimal point, no trailing zeros (7, 7.5, 155.25); 1E+15 and up, or below
// 0.0001, in exponent form with a capital E ("1E+20", "1E-05").
std::string numberText(double value);

// The value a cell of numberText shows when it is read back as a number.
double shownValue(double value);

} // namespace tolvane
