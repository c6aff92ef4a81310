#pragma once

#include <string>

namespace ao07 {

/// The text of a converted channel value, as the window shows it and the CSV record carries it.
/// The value is first written with 7 significant digits (rounded from its exact value), and
/// those decimal digits are then rounded to exactly three decimals, halves away from zero:
/// 0.14749999344 reads 0.1475 and becomes 0.148. At least one digit before the point, never an
/// exponent, no grouping, "-" before negative values, and always "." as the decimal point.
std::string DecodedText(float value);

}  // namespace ao07
