#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/channel.h"
#include "decoder/frame.h"

namespace ao07 {

/// Every raw value two characters of a row can give: -9 ("-9") to 99.
inline constexpr int kLowestRowValue = -9;
inline constexpr int kHighestRowValue = 99;
inline constexpr std::size_t kRowValueCount = kHighestRowValue - kLowestRowValue + 1;

/// A channel's value and text for one raw value, in 16 bytes: the whole table then stays in the
/// processor's nearest cache while a log is decoded. Every text of the table fits; one that
/// would not stops the table from being made.
struct Conversion {
    float value = 0;
    std::uint8_t length = 0;
    std::array<char, 11> bytes{};

    std::string_view Text() const { return {bytes.data(), length}; }
};
static_assert(sizeof(Conversion) == 16);

/// Each channel's conversions of the raw values a row can give, made once by ConvertChannel and
/// DecodedText: a log repeats these few values over and over. Channel 1..24 at [index - 1], raw
/// value r at [r - kLowestRowValue].
using ConversionTable = std::array<std::array<Conversion, kRowValueCount>, kChannelCount>;
const ConversionTable& RowValueConversions();

/// Throws ConversionError for ConvertReading's arguments outside the table.
[[noreturn]] void ThrowNotARowValue(int channel, std::int16_t raw);

/// Sets the raw value, engineering value and text of `reading` for channel 1..24 and raw value
/// `raw`, as ConvertChannel and DecodedText give them; the text lives as long as the program.
/// `raw` is a value a row can carry (-9..99, all a reader gives); anything else, or a channel
/// that does not exist, throws ConversionError.
/// Returns the text, which a caller joining the texts of a row uses straight away. Inline: every
/// channel of every row is looked up here.
inline std::string_view ConvertReading(int channel, std::int16_t raw, ChannelReading& reading) {
    if (raw < kLowestRowValue || raw > kHighestRowValue || channel < 1 || channel > kChannelCount) {
        ThrowNotARowValue(channel, raw);
    }
    const Conversion& entry =
        RowValueConversions()[static_cast<std::size_t>(channel - 1)]
                             [static_cast<std::size_t>(raw - kLowestRowValue)];
    reading.raw = raw;
    reading.value = entry.value;
    reading.text = entry.Text();
    return reading.text;
}

/// IntegerText(raw) of a value a row can carry (-9..99), as the raw grid shows it; the text
/// lives as long as the program. Throws std::out_of_range for any other value.
std::string_view RawValueText(std::int16_t raw);

}  // namespace ao07
