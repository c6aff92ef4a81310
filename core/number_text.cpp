#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace ao07 {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

/// Walks a text character by character, passing over the characters that LeadingNumber skips.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) { SkipIgnored(); }
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
    void Advance() {
        ++m_pos;
        SkipIgnored();
    }

private:
    void SkipIgnored() {
        while (m_pos < m_text.size() && IsSkipped(m_text[m_pos])) {
            ++m_pos;
        }
    }
    std::string_view m_text;
    std::size_t m_pos = 0;
};

int DigitValue(char c, int radix) {
    int value = -1;
    if (IsDigit(c)) {
        value = c - '0';
    } else if (Upper(c) >= 'A' && Upper(c) <= 'F') {
        value = Upper(c) - 'A' + 10;
    }
    return value < radix ? value : -1;
}

/// The integer after "&H" or "&O".
double RadixInteger(Cursor& cursor, int radix) {
    double value = 0;
    for (int digit = DigitValue(cursor.Peek(), radix); digit >= 0;
         digit = DigitValue(cursor.Peek(), radix)) {
        value = value * radix + digit;
        cursor.Advance();
    }
    return value;
}

/// The decimal exponent of the first non-zero digit of a mantissa such as "0012.5" (1) or
/// ".003" (-3); only used to tell an overflow from an underflow.
long LeadingDigitExponent(std::string_view mantissa) {
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return 0;
    }
    return first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
}

// Every integer of up to this many decimal digits is exact in a double.
constexpr std::size_t kExactDigits = 15;

/// Parses the cleaned-up decimal text exactly and without regard to the locale. Results out of
/// the range of a double become +-infinity or 0.
double ParseDecimal(const std::string& number, bool negative, long exponent) {
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const long magnitude = LeadingDigitExponent(number.substr(0, number.find('e'))) + exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc{}) {
        value = 0;
    }
    return negative ? -value : value;
}

/// The digits and the one period of a number's mantissa, as far as they go.
struct Mantissa {
    bool seenPoint = false;
    bool seenDigit = false;
    std::size_t length = 0;  ///< characters, period included
    std::int64_t whole = 0;  ///< the digits' value while length <= kExactDigits
};

/// Reads a mantissa at the cursor, appending its characters to `text` when one is given.
[[gnu::always_inline]] inline Mantissa ReadMantissa(Cursor& cursor, std::string* text) {
    Mantissa mantissa;
    for (char c = cursor.Peek(); IsDigit(c) || (c == '.' && !mantissa.seenPoint);
         c = cursor.Peek()) {
        if (IsDigit(c)) {
            mantissa.seenDigit = true;
            if (mantissa.length < kExactDigits) {
                mantissa.whole = mantissa.whole * 10 + (c - '0');
            }
        } else {
            mantissa.seenPoint = true;
        }
        ++mantissa.length;
        if (text != nullptr) {
            text->push_back(c);
        }
        cursor.Advance();
    }
    return mantissa;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    Cursor cursor(text);
    if (cursor.Peek() == '&') {
        cursor.Advance();
        const char kind = Upper(cursor.Peek());
        if (kind != 'H' && kind != 'O') {
            return 0;
        }
        cursor.Advance();
        return RadixInteger(cursor, kind == 'H' ? 16 : 8);
    }

    bool negative = false;
    if (cursor.Peek() == '+' || cursor.Peek() == '-') {
        negative = cursor.Peek() == '-';
        cursor.Advance();
    }

    // A whole number short enough to be exact in a double, as nearly every number of a log is,
    // is the sum of its digits. Anything else is gathered into a clean text, mantissa and
    // exponent, that from_chars reads exactly.
    const Cursor mantissaStart = cursor;
    const Mantissa mantissa = ReadMantissa(cursor, nullptr);
    if (!mantissa.seenDigit) {
        return 0;
    }
    const char mark = Upper(cursor.Peek());
    const bool hasExponentMark = mark == 'E' || mark == 'D';
    if (!mantissa.seenPoint && mantissa.length <= kExactDigits && !hasExponentMark) {
        const auto whole = static_cast<double>(mantissa.whole);
        return negative ? -whole : whole;
    }
    std::string number;
    cursor = mantissaStart;
    ReadMantissa(cursor, &number);

    long exponent = 0;
    if (hasExponentMark) {
        cursor.Advance();
        std::string exponentText;
        if (cursor.Peek() == '+' || cursor.Peek() == '-') {
            exponentText.push_back(cursor.Peek());
            cursor.Advance();
        }
        bool hasDigits = false;
        for (char c = cursor.Peek(); IsDigit(c); c = cursor.Peek()) {
            hasDigits = true;
            exponentText.push_back(c);
            // Beyond this size the value is out of range anyway; the cap keeps the sum safe.
            if (std::labs(exponent) < 1000000) {
                exponent = exponent * 10 + (c - '0');
            }
            cursor.Advance();
        }
        if (hasDigits) {
            number += 'e' + exponentText;
            exponent = exponentText.front() == '-' ? -exponent : exponent;
        }
    }
    return ParseDecimal(number, negative, exponent);
}

double RoundHalfEven(double value) {
    // From 2^52 on every double is a whole number already (infinities and NaN stay as they are).
    // Below it, adding and taking away 2^52 leaves no room for a fraction, so the sum is rounded
    // to a whole number by the hardware's own rule: to the nearest, a tie to the even one.
    // Zero keeps its sign.
    constexpr double kNoFraction = 0x1p52;
    if (!(std::fabs(value) < kNoFraction) || value == 0) {
        return value;
    }
    const double shift = std::copysign(kNoFraction, value);
    return (value + shift) - shift;
}

std::string IntegerText(std::int64_t value) {
    IntegerDigits digits;
    return std::string(IntegerText(value, digits));
}

std::string_view IntegerText(std::int64_t value, IntegerDigits& digits) {
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return {digits.data(), result.ptr};
}

}  // namespace ao07
