#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/channel.h"

namespace ao07 {

/// The texts of the raw values that a log can carry, and of each channel's conversion of them,
/// made on first use (by IntegerText, and by the channel's equation and DecodedText) and then
/// kept. A log repeats the same hundred or so raw values per channel, and making a text costs
/// far more than looking it up.
class ChannelTextCache {
public:
    /// DecodedText(ConvertChannel(channel, raw)) for channel 1..24; throws ConversionError as
    /// ConvertChannel does. The text stays valid until the next call.
    const std::string& Text(int channel, std::int16_t raw);

    /// IntegerText(raw). The text stays valid until the next call.
    const std::string& RawText(std::int16_t raw);

private:
    // Two characters of a telemetry row give -9 ("-9") to 99; other values are not kept.
    static constexpr int kLowestKept = -9;
    static constexpr int kHighestKept = 99;
    using Texts = std::array<std::string, kHighestKept - kLowestKept + 1>;

    static bool IsKept(std::int16_t raw) { return raw >= kLowestKept && raw <= kHighestKept; }

    std::array<Texts, kChannelCount> m_texts{};  // "" until first made
    Texts m_rawTexts{};                          // "" until first made
    std::string m_unkept;
};

}  // namespace ao07
