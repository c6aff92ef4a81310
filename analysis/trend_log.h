#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/frame_checks.h"
#include "core/channel.h"
#include "decoder/frame.h"

namespace ao07 {

/// One frame of a log as the trends keep it: what a plot, its hover and its statistics need,
/// in a fraction of a Frame's memory, so that logs of many frames fit.
struct TrendFrame {
    std::int64_t lineNumber = 0;  ///< line of its log, from 1, that held its row 6
    std::int64_t utc = 0;         ///< seconds since 1970 UTC of its date and time, if hasTime
    std::int32_t orbit = 0;
    std::int32_t number = 0;  ///< 1 for the first frame of its log
    std::int32_t log = 0;     ///< the index of its log among the logs shown
    bool hasTime = false;     ///< its DATE and TIME could be read
    Calibration calibration = Calibration::Unknown;
    std::array<std::int16_t, kChannelCount> raw{};
    std::array<float, kChannelCount> value{};
    std::array<Reception, kChannelCount> reception{};
    /// The DATE and TIME texts as they stood (Windows-1252), cut to kTrendTextLimit bytes.
    std::string date;
    std::string time;
};

/// The most bytes of a DATE or TIME text a trend frame keeps for display; the date and time
/// are read from the whole text.
inline constexpr std::size_t kTrendTextLimit = 40;

/// A log decoded for the trends.
struct TrendLog {
    std::string path;
    std::vector<TrendFrame> frames;
    std::string error;  ///< the message that it could not be opened or read to its end, or ""
    int framesWithoutTime = 0;
};

/// Decodes the named log with the library's frame stream into trend frames of log `logIndex`.
TrendLog LoadTrendLog(const std::string& path, int logIndex);

}  // namespace ao07
