#pragma once

#include <string>

#include "audio/listen_events.h"

namespace ao07 {
class OutputFile;
}

namespace ao07::cli {

/// The --report of ao07-listen: one JSON object per group heard (JSON Lines, UTF-8), e.g.
/// {"recording":"pass.wav","start":12.34,"text":"3x5","confidence":[1,0.41,0.9993],
///  "tone_hz":801.25,"wpm":20.01,"snr_db":-3.5}
/// with the estimates of tone, speed and signal-to-noise as they were when the group ended;
/// every number at full precision.
std::string GroupReportLine(const std::string& recording, const audio::HeardGroup& group);

}  // namespace ao07::cli
