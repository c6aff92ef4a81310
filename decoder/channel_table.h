#pragma once

#include <array>
#include <string_view>

#include "core/channel.h"

namespace ao07 {

/// The shape of a channel's calibration equation. N is the raw value; a and b are the
/// channel's constants. f32 is a rounding to a 32-bit float; int16 steps detect overflow.
enum class EquationKind {
    Scaled,             ///< f32(N * a)
    ScaledPlus,         ///< f32(N * a + b)
    LessScaled,         ///< f32(b - N * a)
    ScaledMilli,        ///< f32(f32(N * a) / 1000)
    PanelCurrent,       ///< w = int16(1970 - int16(20 * N)); f32(f32(w) / 1000)
    BatteryCurrent,     ///< w = int16(int16(N - 50) * 40); f32(f32(w) / 1000)
    PowerFromLoss,      ///< f32((1 - N * a)^2 * b)
    SquaredScaled,      ///< f32(N^2 * a)
    SquaredScaledPlus,  ///< f32(N^2 * a + b)
    SquaredOverMilli,   ///< f32(f32(N^2 / a) / 1000)
};

struct Equation {
    EquationKind kind;
    double a = 0;
    double b = 0;
};

/// One telemetry channel: where it comes from, what it is called and how it is converted.
/// Texts are Windows-1252 bytes ("\xB0" is the degree sign), as in the CSV file.
struct ChannelInfo {
    int index;                   ///< 1..24
    std::string_view csvField;   ///< its column in the CSV header
    std::string_view caption;    ///< its name beside the value in the window
    std::string_view unit;       ///< the unit shown after the value in the main window
    std::string_view valueUnit;  ///< the unit the converted value is actually in
    Equation equation;
};

/// Channel 6D, the midrange telemetry calibration, reads raw 50 (0.500 V) while the beacon's
/// telemetry encoder is healthy. A frame whose 6D lies outside this range is doubtful as a
/// whole: a drifted encoder, or a misheard group, shifts every channel of the frame.
inline constexpr int kCalibrationChannel = 24;
inline constexpr int kCalibrationLowestGoodRaw = 49;
inline constexpr int kCalibrationHighestGoodRaw = 51;

/// The 24 channels in index order, 1A first and 6D last; also the order of the CSV columns.
const std::array<ChannelInfo, kChannelCount>& ChannelTable();

/// The entry of channel 1..24.
const ChannelInfo& Channel(int index);

/// The channel's caption as a name, without the colon it has beside the value in the window:
/// "Battery Voltage".
std::string_view CaptionName(const ChannelInfo& info);

}  // namespace ao07
