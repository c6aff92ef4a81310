#pragma once

#include "decoder/frame.h"

namespace ao07 {

/// What a frame's calibration channel says about the frame as a whole.
enum class Calibration {
    Good,      ///< 6D copied in this frame, within the good range
    Doubtful,  ///< 6D copied, outside the good range: every channel of the frame is in doubt
    Unknown,   ///< 6D not copied or missing in this frame
};

/// The calibration verdict of a frame (the range stands beside the channel table).
Calibration CalibrationOf(const Frame& frame);

/// A frame is clean when all 24 channels were copied in it and its calibration is good.
bool IsClean(const Frame& frame);

/// The verdict in words, as the exports write it: "good", "doubtful" or "unknown".
const char* CalibrationName(Calibration calibration);

/// The reception in words, as the exports write it: "copied", "not copied" or "missing".
const char* ReceptionName(Reception reception);

}  // namespace ao07
