#include "decoder/decoded_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace ao07 {
namespace {

TEST(DecodedText, WritesThreeDecimalsFromTheSevenDigitText) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, "0.000"},
        {-0.0f, "0.000"},
        {1.97f, "1.970"},
        {0.1475f, "0.148"},  // 0.14749999344 reads 0.1475 first
        {0.0885f, "0.089"},  // half away from zero, not to even
        {-0.0885f, "-0.089"},
        {2920.5f, "2920.500"},  // no thousands separator
        {-50.72f, "-50.720"},
        {0.0004999f, "0.000"},
        {0.0005f, "0.001"},
        {9.9995f, "10.000"},  // the carry runs into a new digit
        {999999.9f, "999999.900"},
        {12345678.0f, "12345680.000"},  // only seven digits are significant
        {3.4e38f, "340000000000000000000000000000000000000.000"},
        {1e-30f, "0.000"},
        {-0.0004f, "-0.000"},           // negative, even when it rounds to nothing
        {16777215.0f, "16777220.000"},  // an exact tie at the 8th digit goes to even
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodedText(c.value), c.text) << "value " << c.value;
    }
}

TEST(DecodedText, DoesNotFailOnValuesThatNoChannelProduces) {
    EXPECT_EQ(DecodedText(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(DecodedText(-std::numeric_limits<float>::infinity()), "-inf");
    EXPECT_EQ(DecodedText(std::numeric_limits<float>::quiet_NaN()), "nan");
}

}  // namespace
}  // namespace ao07
