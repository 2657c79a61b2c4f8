#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvane {

// The number at the start of a text, read the way the game's own tools read
// numbers: spaces, tabs and line feeds are skipped wherever they stand; then an
// optional sign, digits with at most one decimal point, and an optional
// exponent (E or D); "&H" and "&O" introduce a hexadecimal or octal integer.
// Reading stops at the first character that cannot continue the number; a
// text without a number gives 0. A number too large for a double gives an
// infinity, which every integer conversion refuses.
double numericValue(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour; nothing when
// the value lies outside the integer's range.
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);
double roundHalfEven(double value);

} // namespace tolvane
