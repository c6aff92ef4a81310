#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace ao07 {
namespace {

// Every integer of up to this many decimal digits is exact in a double.
constexpr std::size_t kExactDigits = 15;

// Below this magnitude a double converts to a 64-bit integer without overflow.
constexpr double kWholeTestBound = 0x1p62;

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

/// LeadingNumber for any text. Kept out of line so that the short way for plain digits does
/// not pay for this one's set-up.
[[gnu::noinline]] double ReadAnyNumber(std::string_view text) {
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

    // Gather the mantissa, then the exponent, into a clean text that from_chars reads exactly.
    std::string number;
    bool seenPoint = false;
    for (char c = cursor.Peek(); IsDigit(c) || (c == '.' && !seenPoint); c = cursor.Peek()) {
        seenPoint = seenPoint || c == '.';
        number.push_back(c);
        cursor.Advance();
    }
    if (number.find_first_of("0123456789") == std::string::npos) {
        return 0;
    }

    long exponent = 0;
    const char mark = Upper(cursor.Peek());
    if (mark == 'E' || mark == 'D') {
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

}  // namespace

double LeadingNumber(std::string_view text) {
    // A text of plain digits, as the value fields of a telemetry row and most orbit numbers are,
    // is its integer value; below 10^15 that integer is exact in a double, so this is the very
    // number the general reading would give, at a fraction of its cost.
    if (!text.empty() && text.size() <= kExactDigits) {
        std::int64_t value = 0;
        bool plain = true;
        for (const char c : text) {
            plain = plain && IsDigit(c);
            value = value * 10 + (c - '0');
        }
        if (plain) {
            return static_cast<double>(value);
        }
    }
    return ReadAnyNumber(text);
}

double RoundHalfEven(double value) {
    // Whole numbers, which almost every number of a log is, are their own rounding. The bound
    // keeps the conversion to a 64-bit integer defined; it also sends NaN to the test below.
    if (std::fabs(value) < kWholeTestBound &&
        static_cast<double>(static_cast<std::int64_t>(value)) == value) {
        return value;
    }
    if (!std::isfinite(value)) {
        return value;
    }
    const double below = std::floor(value);
    const double fraction = value - below;  // exact for every double
    if (fraction > 0.5) {
        return below + 1;
    }
    if (fraction < 0.5) {
        return below;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::string IntegerText(std::int64_t value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace ao07
