#include "analysis/trend_log.h"

#include <optional>

#include "analysis/log_date_time.h"
#include "decoder/frame_stream.h"

namespace ao07 {

TrendLog LoadTrendLog(const std::string& path, int logIndex) {
    TrendLog log;
    log.path = path;
    FrameStream stream;
    // A window reads ordinary files only: anything else is refused at once, as the main window
    // refuses it, rather than read for ever (a device) or waited on (a named pipe).
    if (const std::string reason = stream.Open(path, LogFiles::RegularOnly); !reason.empty()) {
        log.error = LogOpenMessage(path, reason);
        return log;
    }
    while (const Frame* frame = stream.Next()) {
        TrendFrame& kept = log.frames.emplace_back();
        kept.lineNumber = frame->lineNumber;
        kept.orbit = frame->orbit;
        kept.number = frame->number;
        kept.log = logIndex;
        kept.calibration = CalibrationOf(*frame);
        for (std::size_t i = 0; i < frame->channels.size(); ++i) {
            kept.raw[i] = frame->channels[i].raw;
            kept.value[i] = frame->channels[i].value;
            kept.reception[i] = frame->channels[i].reception;
        }
        if (const std::optional<std::int64_t> utc = LogDateTimeUtc(frame->date, frame->time)) {
            kept.hasTime = true;
            kept.utc = *utc;
        } else {
            ++log.framesWithoutTime;
        }
        kept.date = frame->date.substr(0, kTrendTextLimit);
        kept.time = frame->time.substr(0, kTrendTextLimit);
    }
    log.error = stream.ReadError();
    return log;
}

}  // namespace ao07
