#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/channel.h"
#include "reader/reception.h"

namespace ao07 {

/// One value of a typed row as the window and the CSV give it: the channel, how it was received
/// and, when copied, the text of its converted value and its unit (Windows-1252 bytes).
struct RowValue {
    int channel = 0;  ///< 1..24
    Reception reception = Reception::NotCopied;
    std::string_view text;  ///< "" when not copied; lives as long as the program
    std::string_view unit;
};

/// The four values of `line` when the reader takes it as a telemetry row (after trimming), by
/// the same rules the decoder applies when it steps through the log; nothing for another line.
std::optional<std::array<RowValue, kSlotCount>> DecodeRowLine(std::string_view line);

}  // namespace ao07
