#pragma once

#include <cstdint>
#include <string_view>

namespace ao07 {

struct ChannelReading;

/// Sets the raw value, engineering value and text of `reading` for channel 1..24 and raw value
/// `raw`, as ConvertChannel and DecodedText give them; the text lives as long as the program.
/// Throws ConversionError as ConvertChannel does (never for a raw value a log can carry).
void ConvertReading(int channel, std::int16_t raw, ChannelReading& reading);

/// IntegerText(raw), as the raw grid shows it; the text lives as long as the program.
std::string_view RawValueText(std::int16_t raw);

}  // namespace ao07
