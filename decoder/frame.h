#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/channel.h"
#include "reader/reception.h"

namespace ao07 {

/// One channel as a frame carries it.
struct ChannelReading {
    std::int16_t raw = 0;  ///< the raw value shown in the raw grid
    float value = 0;       ///< the engineering value its equation gave
    /// The text shown and written; "" while its row was never decoded. It points into texts
    /// that live as long as the program.
    std::string_view text;
    Reception reception = Reception::Missing;
};

/// One telemetry frame of a log: what the record written after its row 6 holds, with the
/// numbers behind the texts and how each channel was received. A frame's rows are those decoded
/// since the previous frame ended; rows decoded before a log's first row 6 belong to its first
/// frame.
struct Frame {
    int number = 0;               ///< 1 for the first frame of a log, 2 for the next, ...
    std::int64_t lineNumber = 0;  ///< line of the log, from 1, that held its row 6
    std::string date;             ///< the date, time and orbit as they stood at its row 6,
    std::string time;             ///< the log's own bytes (Windows-1252)
    std::int32_t orbit = 0;
    std::array<ChannelReading, kChannelCount> channels;  ///< channel 1..24 at [index - 1]
    std::string record;  ///< the CSV record of the frame, as "ao-07.csv" holds it, without CR LF

    /// Channel 1..24.
    const ChannelReading& Channel(int index) const {
        return channels.at(static_cast<std::size_t>(index - 1));
    }
};

}  // namespace ao07
