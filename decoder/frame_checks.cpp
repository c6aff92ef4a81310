#include "decoder/frame_checks.h"

#include <algorithm>

#include "core/frame.h"
#include "decoder/channel_table.h"

namespace ao07 {

Calibration CalibrationOf(const Frame& frame) {
    const ChannelReading& calibration = frame.Channel(kCalibrationChannel);
    if (calibration.reception != Reception::Copied) {
        return Calibration::Unknown;
    }
    const bool inRange = calibration.raw >= kCalibrationLowestGoodRaw &&
                         calibration.raw <= kCalibrationHighestGoodRaw;
    return inRange ? Calibration::Good : Calibration::Doubtful;
}

bool IsClean(const Frame& frame) {
    const bool allCopied =
        std::all_of(frame.channels.begin(), frame.channels.end(),
                    [](const ChannelReading& c) { return c.reception == Reception::Copied; });
    return allCopied && CalibrationOf(frame) == Calibration::Good;
}

}  // namespace ao07
