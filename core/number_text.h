#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ao07 {

/// The value of the number at the start of `text`, as an operator's header line or telemetry
/// group carries it. Blanks, tabs and line feeds are skipped wherever they stand (so "12 34" is
/// 1234). An optional sign, digits with at most one period, and an exponent (E or D, either case,
/// optional sign, digits); "&H" and "&O" start a hexadecimal or octal integer. Reading stops at
/// the first character that cannot continue the number; text without a number gives 0. The
/// period is the decimal point whatever the user's locale. Too large a number gives +-infinity.
double LeadingNumber(std::string_view text);

/// `value` rounded to the nearest integer, a tie going to the even neighbour (122.5 -> 122,
/// 123.5 -> 124, -2.5 -> -2). Infinities and NaN are returned unchanged.
double RoundHalfEven(double value);

/// RoundHalfEven(value) as an integer of type Int, or nothing when it does not fit. Defined
/// here so that a caller's compiler keeps the result in registers: every value of a telemetry
/// row passes through it.
template <typename Int>
std::optional<Int> RoundToInteger(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<Int>::min() &&
          rounded <= std::numeric_limits<Int>::max())) {
        return std::nullopt;  // also NaN
    }
    return static_cast<Int>(rounded);
}

/// RoundHalfEven(value) as a signed 32-bit integer, or nothing when it does not fit.
inline std::optional<std::int32_t> RoundToInt32(double value) {
    return RoundToInteger<std::int32_t>(value);
}

/// RoundHalfEven(value) as a signed 16-bit integer, or nothing when it does not fit.
inline std::optional<std::int16_t> RoundToInt16(double value) {
    return RoundToInteger<std::int16_t>(value);
}

/// `value` in plain decimal: digits only, "-" before a negative number, no blank, no grouping.
std::string IntegerText(std::int64_t value);

/// Room for the text of any 64-bit integer.
using IntegerDigits = std::array<char, 24>;

/// IntegerText(value) written into `digits`, for a caller that only copies it on.
std::string_view IntegerText(std::int64_t value, IntegerDigits& digits);

/// `text` without leading and trailing space characters; tabs and other characters stay. Inline:
/// every line of a log passes through here, and few have a blank to trim.
inline std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && text[first] == ' ') {
        ++first;
    }
    while (end > first && text[end - 1] == ' ') {
        --end;
    }
    return text.substr(first, end - first);
}

}  // namespace ao07
