#include "decoder/channel_text_cache.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/number_text.h"
#include "decoder/channel_equations.h"
#include "decoder/decoded_text.h"

namespace ao07 {
namespace {

/// The text made the direct way, or nothing where the equation fails.
std::optional<std::string> DirectText(int channel, std::int16_t raw) {
    try {
        return DecodedText(ConvertChannel(channel, raw));
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

/// The cache's text, or nothing where it reports the equation's failure.
std::optional<std::string> CachedText(ChannelTextCache& cache, int channel, std::int16_t raw) {
    try {
        return cache.Text(channel, raw);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

// Every raw value of every channel; those around the values a log carries (-9 to 99) asked
// again, when their text is looked up rather than made. Every answer must be the text that the
// equation and DecodedText give, byte for byte.
TEST(ChannelTextCache, GivesTheDirectTextForEveryRawValueOfEveryChannel) {
    ChannelTextCache cache;
    int failures = 0;
    for (int pass = 1; pass <= 2; ++pass) {
        const int lowest = pass == 1 ? std::numeric_limits<std::int16_t>::min() : -1000;
        const int highest = pass == 1 ? std::numeric_limits<std::int16_t>::max() : 1000;
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            for (int value = lowest; value <= highest; ++value) {
                const auto raw = static_cast<std::int16_t>(value);
                const auto expected = DirectText(channel, raw);
                if (CachedText(cache, channel, raw) != expected && ++failures <= 10) {
                    ADD_FAILURE() << "channel " << channel << ", raw " << value << ", pass " << pass
                                  << ": expected " << expected.value_or("an error");
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(ChannelTextCache, GivesThePlainDecimalTextOfEveryRawValue) {
    ChannelTextCache cache;
    int failures = 0;
    for (int pass = 1; pass <= 2; ++pass) {  // made, then looked up
        for (int value = std::numeric_limits<std::int16_t>::min();
             value <= std::numeric_limits<std::int16_t>::max(); ++value) {
            const auto raw = static_cast<std::int16_t>(value);
            if (cache.RawText(raw) != IntegerText(raw) && ++failures <= 10) {
                ADD_FAILURE() << "raw " << value << " reads " << cache.RawText(raw);
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(cache.RawText(-9), "-9");
    EXPECT_EQ(cache.RawText(7), "7");
    EXPECT_EQ(cache.RawText(-32768), "-32768");
}

TEST(ChannelTextCache, ReportsTheEquationsErrorAndStaysUsable) {
    ChannelTextCache cache;
    // 1B's 16-bit step 20 * N overflows for 2000; the message names channel and value.
    try {
        cache.Text(2, 2000);
        FAIL() << "no ConversionError";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "Channel 1B with raw value 2000: arithmetic overflow");
    }
    EXPECT_EQ(cache.Text(2, 50), "0.970");
    EXPECT_EQ(cache.Text(5, 3), "0.089");
    EXPECT_EQ(cache.Text(5, 3), "0.089");
}

}  // namespace
}  // namespace ao07
