#include "fuzz/number_text_check.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/number_text.h"
#include "decoder/decoded_text.h"

namespace ao07::fuzz {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Describe(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

/// The text DecodedText must give, computed with integers from the C library's 7-digit
/// scientific form: mantissa M (7 digits) and exponent E stand for M * 10^(E-6), so the value
/// in thousandths is M * 10^(E-3), rounded half away from zero. Values of 10^16 and more do
/// not fit 64-bit thousandths and are left to the shape check.
bool ExpectedDecodedText(float value, std::string& text) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
    const bool negative = buffer[0] == '-';
    const char* p = buffer + (negative ? 1 : 0);
    std::uint64_t mantissa = 0;
    for (; *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        }
    }
    const int exponent = std::atoi(p + 1);
    if (exponent >= 16) {
        return false;
    }
    std::uint64_t thousandths = mantissa;
    if (exponent >= 3) {
        for (int i = 0; i < exponent - 3; ++i) {
            thousandths *= 10;
        }
    } else {
        std::uint64_t divisor = 1;
        for (int i = 0; i < 3 - exponent && divisor <= mantissa * 10; ++i) {
            divisor *= 10;
        }
        thousandths = mantissa / divisor;
        if (2 * (mantissa % divisor) >= divisor) {
            ++thousandths;
        }
    }
    std::string digits;
    for (std::uint64_t rest = thousandths; rest > 0; rest /= 10) {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
    }
    while (digits.size() < 4) {
        digits.insert(digits.begin(), '0');
    }
    // A negative value keeps its sign even when it rounds to nothing, as the window shows it.
    text = (negative && mantissa > 0) ? "-" : "";
    text += digits.substr(0, digits.size() - 3) + "." + digits.substr(digits.size() - 3);
    return true;
}

/// The number at the start of `text` as LeadingNumber's grammar reads it, blanks removed and
/// the exponent mark D written as E, so that the C library can read it; "" when there is none.
std::string PlainNumberPrefix(std::string_view text) {
    std::string packed;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            packed.push_back(c);
        }
    }
    std::size_t at = 0;
    std::string out;
    if (at < packed.size() && (packed[at] == '+' || packed[at] == '-')) {
        out.push_back(packed[at++]);
    }
    bool digits = false;
    bool point = false;
    for (; at < packed.size() && (IsDigit(packed[at]) || (packed[at] == '.' && !point)); ++at) {
        point = point || packed[at] == '.';
        digits = digits || IsDigit(packed[at]);
        out.push_back(packed[at]);
    }
    if (!digits) {
        return {};
    }
    if (at < packed.size() && std::string_view("eEdD").find(packed[at]) != std::string_view::npos) {
        std::string exponent = "e";
        std::size_t e = at + 1;
        if (e < packed.size() && (packed[e] == '+' || packed[e] == '-')) {
            exponent.push_back(packed[e++]);
        }
        if (e < packed.size() && IsDigit(packed[e])) {
            for (; e < packed.size() && IsDigit(packed[e]); ++e) {
                exponent.push_back(packed[e]);
            }
            out += exponent;
        }
    }
    return out;
}

bool SameValue(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

}  // namespace

std::string CheckDecodedText(float value) {
    const std::string text = DecodedText(value);
    if (!std::isfinite(value)) {
        return text.find_first_of("e,") == std::string::npos ? "" : "non-finite text " + text;
    }
    std::string_view shape = text;
    if (!shape.empty() && shape.front() == '-') {
        shape.remove_prefix(1);
    }
    const auto point = shape.find('.');
    if (point == std::string_view::npos || point == 0 || shape.size() != point + 4 ||
        shape.find_first_not_of("0123456789.") != std::string_view::npos ||
        shape.find('.', point + 1) != std::string_view::npos ||
        (point > 1 && shape.front() == '0')) {
        return "DecodedText(" + Describe(value) + ") = \"" + text + "\" is badly formed";
    }
    std::string expected;
    if (ExpectedDecodedText(value, expected) && expected != text) {
        return "DecodedText(" + Describe(value) + ") = \"" + text + "\", expected \"" + expected +
               "\"";
    }
    return {};
}

std::string CheckLeadingNumber(std::string_view text) {
    const double value = LeadingNumber(text);
    if (std::isnan(value)) {
        return "LeadingNumber gave NaN";
    }
    std::string packed;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            packed.push_back(c);
        }
    }
    if (!SameValue(LeadingNumber(packed), value)) {
        return "blanks changed the value: " + Describe(value) + " vs " +
               Describe(LeadingNumber(packed));
    }
    if (!packed.empty() && packed.front() != '&') {
        const std::string plain = PlainNumberPrefix(text);
        errno = 0;
        const double reference = plain.empty() ? 0.0 : std::strtod(plain.c_str(), nullptr);
        const bool underflow = errno == ERANGE && std::fabs(reference) < DBL_MIN;
        if (!(SameValue(reference, value) || (underflow && value == 0.0))) {
            return "LeadingNumber(\"" + plain + "\") = " + Describe(value) + ", C library " +
                   Describe(reference);
        }
    }
    if (std::isfinite(value)) {
        const double rounded = RoundHalfEven(value);
        const double distance = std::fabs(rounded - value);
        if (rounded != std::floor(rounded) || distance > 0.5 ||
            (distance == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
            return "RoundHalfEven(" + Describe(value) + ") = " + Describe(rounded);
        }
    }
    return {};
}

std::string CheckNumberText(const std::uint8_t* data, std::size_t size) {
    if (size >= sizeof(float)) {
        float value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::string failure = CheckDecodedText(value); !failure.empty()) {
            return failure;
        }
    }
    return CheckLeadingNumber(std::string_view(reinterpret_cast<const char*>(data), size));
}

}  // namespace ao07::fuzz
