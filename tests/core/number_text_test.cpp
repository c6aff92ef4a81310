#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

}  // namespace
}  // namespace ao07
