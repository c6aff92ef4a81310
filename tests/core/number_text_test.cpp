#include "core/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace ao07 {
namespace {

struct LeadingCase {
    const char* text;
    double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
    const LeadingCase cases[] = {
        {"987", 987},
        {"123.5", 123.5},
        {"12 34", 1234},   // blanks between digits are skipped
        {" \t\n 42", 42},  // so are tabs and line feeds
        {"1\t2\n3", 123},
        {"N/A", 0},  // no number at the start
        {"", 0},
        {"ORBIT 5", 0},
        {"-5", -5},
        {"+7", 7},
        {"- 5", -5},  // a blank after the sign is skipped too
        {"--5", 0},   // one sign only
        {".5", 0.5},
        {"1.", 1},
        {".", 0},
        {"1.2.3", 1.2},  // one period only
        {"05", 5},
        {"ab", 0},
        {"5x", 5},
        {"1E3", 1000},
        {"1e3", 1000},
        {"2D2", 200},  // D is an exponent letter as well
        {"2d-2", 0.02},
        {"1E+2", 100},
        {"1E", 1},  // an exponent without digits adds nothing
        {"1E+", 1},
        {"&H1F", 31},
        {"&h ff", 255},
        {"&O17", 15},
        {"&o8", 0},  // 8 is no octal digit
        {"&X1", 0},
        {"&", 0},
        {"1E400", std::numeric_limits<double>::infinity()},
        {"-1E400", -std::numeric_limits<double>::infinity()},
        {"1E-400", 0},
        {"0.0001E999999999999", std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.value) << "text: \"" << c.text << '"';
    }
}

TEST(RoundHalfEven, SendsTiesToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {122.5, 122}, {123.5, 124}, {-2.5, -2},  {-3.5, -4},
        {0.5, 0},     {1.5, 2},     {2.4999, 2}, {2.5001, 3},
        {-0.4, 0},    {7, 7},       {-1.5, -2},  {4503599627370497.0, 4503599627370497.0},
    };
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << "value: " << value;
    }
}

/// Rounding with ties to even by the floor of the value alone, as a check on the short way
/// that RoundHalfEven takes for whole numbers.
double ReferenceRoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) {
        return below + 1;
    }
    if (fraction < 0.5) {
        return below;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

TEST(RoundHalfEven, AgreesWithTheFloorRuleEverywhere) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0x1p52,
                                  0x1p53,
                                  0x1p62,
                                  -0x1p62,
                                  0x1p63,
                                  -0x1p63,
                                  0x1p62 - 1024,
                                  1e300,
                                  -1e300,
                                  4.9e-324,
                                  -4.9e-324,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
    for (int n = -70000; n <= 70000; ++n) {
        values.push_back(n);
        values.push_back(n + 0.5);
        values.push_back(n + 0.25);
        values.push_back(std::nextafter(n + 0.5, 0.0));
    }
    std::uint64_t state = 99;
    for (int i = 0; i < 200000; ++i) {  // bit patterns of every magnitude, from a fixed sequence
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        double value = 0;
        std::memcpy(&value, &state, sizeof value);
        values.push_back(value);
    }
    int failures = 0;
    for (const double value : values) {
        const double expected = ReferenceRoundHalfEven(value);
        const double actual = RoundHalfEven(value);
        const bool same = std::isnan(expected) ? std::isnan(actual)
                                               : actual == expected &&
                                                     std::signbit(actual) == std::signbit(expected);
        if (!same && ++failures <= 10) {
            ADD_FAILURE() << "value " << value << ": " << actual << " instead of " << expected;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(RoundToInteger, RefusesValuesOutsideTheTargetWidth) {
    EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToInt32(-2147483648.5), -2147483648);  // a tie towards the even end
    EXPECT_EQ(RoundToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(RoundToInt32(std::nan("")), std::nullopt);
    EXPECT_EQ(RoundToInt16(32767.0), 32767);
    EXPECT_EQ(RoundToInt16(32768.0), std::nullopt);
    EXPECT_EQ(RoundToInt16(-32768.4), -32768);
}

TEST(IntegerText, IsPlainDecimal) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(1234567), "1234567");
    EXPECT_EQ(IntegerText(-42), "-42");
    EXPECT_EQ(IntegerText(-2147483648LL), "-2147483648");
}

TEST(TrimBlanks, RemovesSpacesOnlyAtBothEnds) {
    EXPECT_EQ(TrimBlanks("  150 150 150 150  "), "150 150 150 150");
    EXPECT_EQ(TrimBlanks("\tHI HI\t"), "\tHI HI\t");
    EXPECT_EQ(TrimBlanks("    "), "");
    EXPECT_EQ(TrimBlanks("a  b"), "a  b");
}

/// The decimal reading of a text of plain digits, by the standard library's exact parser.
double ExactDecimal(const std::string& digits) {
    double value = -1;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// A whole number is read as the sum of its digits while that is exact; it must give exactly
// what the exact parser gives, on both sides of the point where a double stops being exact.
TEST(LeadingNumber, ReadsEveryTextOfPlainDigitsExactly) {
    int failures = 0;
    const auto check = [&](const std::string& digits) {
        if (LeadingNumber(digits) != ExactDecimal(digits) && ++failures <= 10) {
            ADD_FAILURE() << "digits " << digits << " read as " << LeadingNumber(digits);
        }
    };
    // Every text of one to five digits, leading zeros included.
    for (int length = 1, count = 10; length <= 5; ++length, count *= 10) {
        for (int n = 0; n < count; ++n) {
            std::string digits = std::to_string(n);
            check(std::string(static_cast<std::size_t>(length) - digits.size(), '0') + digits);
        }
    }
    // Longer texts, past the point where a double stops holding every integer (2^53 has 16
    // digits), from a fixed sequence.
    std::uint64_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        std::string digits;
        const int length = 6 + i % 20;
        for (int k = 0; k < length; ++k) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            digits.push_back(static_cast<char>('0' + (state >> 33) % 10));
        }
        check(digits);
    }
    for (const char* digits : {"999999999999999", "9999999999999999", "9007199254740993",
                               "18446744073709551616", "000000000000000000001"}) {
        check(digits);
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace ao07
