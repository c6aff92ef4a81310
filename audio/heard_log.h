#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/listen_events.h"

namespace ao07::audio {

/// Turns the lines the listener hears into the lines of a log as operators type it, which the
/// reader, ao07-decode and the windows read: ORBIT once at the top, TIME and DATE before a frame
/// that starts in another minute than the last one stamped, HI HI, the rows, and everything
/// else heard in lines that the reader passes over.
class HeardLog {
public:
    /// `orbit`: the pass's orbit number, written once at the top when known.
    explicit HeardLog(std::optional<std::int64_t> orbit = std::nullopt);

    /// The lines that open the log, before anything is heard.
    std::vector<std::string> Opening() const;

    /// The UTC time (seconds since 1970) of the first sample of the recording now heard, or
    /// nullopt when it is not known: its frames then get no TIME or DATE line.
    void SetRecordingStart(std::optional<std::int64_t> utcSeconds);

    /// Appends to `lines` what the log gets for `heard`, in order.
    void Take(const HeardLine& heard, std::vector<std::string>& lines);

private:
    void StampFrame(double startSeconds, std::vector<std::string>& lines);

    std::optional<std::int64_t> m_orbit;
    std::optional<std::int64_t> m_recordingStart;
    std::optional<std::int64_t> m_lastMinute;  ///< minutes since 1970 of the last TIME line
    std::optional<std::int64_t> m_lastDay;     ///< days since 1970 of the last DATE line
    bool m_inFrame = false;
    int m_lastRow = 0;
};

}  // namespace ao07::audio
