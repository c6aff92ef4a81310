#include "analysis/frame_checks.h"

#include <algorithm>

#include "decoder/channel_table.h"
#include "decoder/frame.h"

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

const char* CalibrationName(Calibration calibration) {
    switch (calibration) {
        case Calibration::Good:
            return "good";
        case Calibration::Doubtful:
            return "doubtful";
        case Calibration::Unknown:
            break;
    }
    return "unknown";
}

const char* ReceptionName(Reception reception) {
    switch (reception) {
        case Reception::Copied:
            return "copied";
        case Reception::NotCopied:
            return "not copied";
        case Reception::Missing:
            break;
    }
    return "missing";
}

}  // namespace ao07
