#include "decoder/channel_equations.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/channel.h"
#include "decoder/decoded_text.h"

namespace ao07 {
namespace {

std::string TextOf(int channel, int raw) {
    return DecodedText(ConvertChannel(channel, static_cast<std::int16_t>(raw)));
}

TEST(ChannelEquations, GiveTheCalibratedTextsForRawValues0150And99) {
    // Texts for raw 0, 1, 50 and 99 of channels 1 to 24, as operators know them.
    const std::array<std::array<const char*, 4>, kChannelCount> expected = {{
        {"0.000", "29.500", "1475.000", "2920.500"},  // 1A
        {"1.970", "1.950", "0.970", "-0.010"},        // 1B
        {"1.970", "1.950", "0.970", "-0.010"},        // 1C
        {"1.970", "1.950", "0.970", "-0.010"},        // 1D
        {"0.000", "0.030", "1.475", "2.921"},         // 2A
        {"8.000", "7.841", "2.000", "0.001"},         // 2B
        {"0.000", "15.160", "758.000", "1500.840"},   // 2C
        {"-2.000", "-1.960", "0.000", "1.960"},       // 2D
        {"6.400", "6.500", "11.400", "16.300"},       // 3A
        {"0.000", "0.100", "5.000", "9.900"},         // 3B
        {"0.000", "0.150", "7.500", "14.850"},        // 3C
        {"95.800", "94.320", "21.800", "-50.720"},    // 3D
        {"95.800", "94.320", "21.800", "-50.720"},    // 4A
        {"95.800", "94.320", "21.800", "-50.720"},    // 4B
        {"95.800", "94.320", "21.800", "-50.720"},    // 4C
        {"95.800", "94.320", "21.800", "-50.720"},    // 4D
        {"95.800", "94.320", "21.800", "-50.720"},    // 5A
        {"0.000", "11.670", "583.500", "1155.330"},   // 5B
        {"95.800", "94.320", "21.800", "-50.720"},    // 5C
        {"11.000", "11.820", "52.000", "92.180"},     // 5D
        {"0.000", "0.001", "1.603", "6.283"},         // 6A
        {"35.000", "35.100", "285.000", "1015.100"},  // 6B
        {"0.000", "0.041", "102.500", "401.841"},     // 6C
        {"0.000", "0.010", "0.500", "0.990"},         // 6D
    }};
    const int raws[] = {0, 1, 50, 99};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(TextOf(channel, raws[i]), expected[channel - 1][i])
                << "channel " << ChannelName(channel) << " raw " << raws[i];
        }
    }
}

TEST(ChannelEquations, RoundTheirTextsFromSevenDigitsNotFromTheFloat) {
    struct Case {
        int channel;
        int raw;
        const char* text;
    };
    const Case cases[] = {
        {5, 3, "0.089"},  // 2A: 0.0885 rounds away from zero
        {5, 5, "0.148"},  // 2A: the float is 0.14749999..., its 7-digit text 0.1475
        {5, 99, "2.921"},    {12, 65, "-0.400"},  // temperatures turn negative
        {1, -9, "-265.500"},                      // negative raw values use the same equations
        {8, -9, "-2.360"},   {6, 99, "0.001"},    // small, but never in exponent form
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextOf(c.channel, c.raw), c.text)
            << "channel " << ChannelName(c.channel) << " raw " << c.raw;
    }
}

TEST(ChannelEquations, ReportSixteenBitOverflowAtItsExactEdges) {
    struct Case {
        int channel;
        int lastGood;
        int firstBad;
    };
    const Case cases[] = {
        {2, 1638, 1639}, {3, -1539, -1540}, {4, 1638, 1639}, {8, 869, 870}, {8, -769, -770},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("channel " + ChannelName(c.channel));
        EXPECT_NO_THROW(ConvertChannel(c.channel, static_cast<std::int16_t>(c.lastGood)));
        EXPECT_THROW(ConvertChannel(c.channel, static_cast<std::int16_t>(c.firstBad)),
                     ConversionError);
    }
    try {
        ConvertChannel(2, 32767);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "Channel 1B with raw value 32767: arithmetic overflow");
    }
}

TEST(ChannelEquations, AreSafeOverTheWhole16BitRange) {
    int failures = 0;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        for (int raw = INT16_MIN; raw <= INT16_MAX; ++raw) {
            try {
                DecodedText(ConvertChannel(channel, static_cast<std::int16_t>(raw)));
            } catch (const ConversionError&) {
                ++failures;
            }
        }
    }
    // Only the integer steps of 1B to 1D and 2D can fail.
    const int panelFailures = (INT16_MAX - 1639 + 1) + (-1540 - INT16_MIN + 1);
    const int batteryFailures = (INT16_MAX - 870 + 1) + (-770 - INT16_MIN + 1);
    EXPECT_EQ(failures, 3 * panelFailures + batteryFailures);
}

}  // namespace
}  // namespace ao07
