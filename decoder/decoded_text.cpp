#include "decoder/decoded_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace ao07 {
namespace {

constexpr int kSignificantDigits = 7;
constexpr int kDecimals = 3;

/// A value written as 0.d1d2...d7 x 10^(exponent + 1): the digits and the power of ten of d1.
struct SignificantDigits {
    bool negative = false;
    std::string digits;  // kSignificantDigits digits, "0000000" for zero
    int exponent = 0;    // power of ten of the first digit
};

SignificantDigits ToSignificantDigits(float value) {
    char buffer[32];
    // Scientific form with 6 digits after the point: 7 significant digits, rounded to nearest
    // from the exact value, independent of the locale.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    SignificantDigits out;
    if (text.front() == '-') {
        out.negative = true;
        text.remove_prefix(1);
    }
    const auto e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.') {
            out.digits.push_back(c);
        }
    }
    const std::string_view exponent = text.substr(e + 1);
    std::from_chars(exponent.data() + (exponent.front() == '+' ? 1 : 0),
                    exponent.data() + exponent.size(), out.exponent);
    return out;
}

}  // namespace

std::string DecodedText(float value) {
    if (!std::isfinite(value)) {
        char buffer[16];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return {buffer, result.ptr};
    }
    const SignificantDigits sig = ToSignificantDigits(value);
    // A zero of either sign reads as zero: its 7-digit text carries no minus sign.
    const bool isZero = sig.digits.find_first_not_of('0') == std::string::npos;

    // The digit of the 7-digit text at power of ten `power` (0 beyond its digits).
    const auto digitAt = [&](int power) -> int {
        const int pos = sig.exponent - power;
        return (pos >= 0 && pos < kSignificantDigits)
                   ? sig.digits[static_cast<std::size_t>(pos)] - '0'
                   : 0;
    };

    // Digits from the highest power (at least 10^0) down to 10^-3, then round on the 10^-4
    // digit: the 7-digit text is an exact decimal, so a 5 there is at least a half.
    std::string fixed;
    for (int power = std::max(sig.exponent, 0); power >= -kDecimals; --power) {
        fixed.push_back(static_cast<char>('0' + digitAt(power)));
    }
    if (digitAt(-kDecimals - 1) >= 5) {
        int pos = static_cast<int>(fixed.size()) - 1;
        while (pos >= 0 && fixed[static_cast<std::size_t>(pos)] == '9') {
            fixed[static_cast<std::size_t>(pos--)] = '0';
        }
        if (pos < 0) {
            fixed.insert(fixed.begin(), '1');
        } else {
            ++fixed[static_cast<std::size_t>(pos)];
        }
    }
    // Keep one digit before the point, then the point, then the three decimals.
    const std::size_t integerDigits = fixed.size() - kDecimals;
    std::size_t firstKept = 0;
    while (firstKept + 1 < integerDigits && fixed[firstKept] == '0') {
        ++firstKept;
    }
    std::string text = (sig.negative && !isZero) ? "-" : "";
    text.append(fixed, firstKept, integerDigits - firstKept);
    text.push_back('.');
    text.append(fixed, integerDigits, kDecimals);
    return text;
}

}  // namespace ao07
