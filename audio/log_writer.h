#pragma once

#include <string>
#include <vector>

#include "audio/heard_log.h"

namespace ao07 {
class OutputFile;
}

namespace ao07::audio {

/// Writes the log as it is heard: each line goes to the file as soon as it is complete, so that
/// a log being made can be followed by ao07-decode --follow and the Trends window.
class LogWriter {
public:
    /// Writes to `file`, which is open.
    LogWriter(OutputFile& file, HeardLog log);

    /// Writes the lines that open the log. Returns "" or the reason the file took them not.
    std::string Begin();

    /// As HeardLog::SetRecordingStart.
    void SetRecordingStart(std::optional<std::int64_t> utcSeconds) {
        m_log.SetRecordingStart(utcSeconds);
    }

    /// Writes what the log gets for `heard`, and hands it to the file at once. Returns "" or the
    /// reason the file took it not; the file then ends with the last line written whole.
    std::string Write(const HeardLine& heard);

private:
    std::string WriteLines();

    OutputFile& m_file;
    HeardLog m_log;
    std::vector<std::string> m_lines;  ///< reused for each heard line
};

}  // namespace ao07::audio
