#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/channel.h"

namespace ao07 {

/// The text of each channel for each raw value that a log can carry, made on first use by the
/// channel's equation and DecodedText and then kept. A log repeats the same hundred or so raw
/// values per channel, and the exact text of a converted value costs far more than a look-up.
class ChannelTextCache {
public:
    /// DecodedText(ConvertChannel(channel, raw)) for channel 1..24; throws ConversionError as
    /// ConvertChannel does. The text stays valid until the next call.
    const std::string& Text(int channel, std::int16_t raw);

private:
    // Two characters of a telemetry row give -9 ("-9") to 99; other values are not kept.
    static constexpr int kLowestKept = -9;
    static constexpr int kHighestKept = 99;
    using ChannelTexts = std::array<std::string, kHighestKept - kLowestKept + 1>;

    std::array<ChannelTexts, kChannelCount> m_texts{};  // "" until first made
    std::string m_unkept;
};

}  // namespace ao07
