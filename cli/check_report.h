#pragma once

#include <cstdint>
#include <string>

#include "cli/frame_sink.h"

namespace ao07::tool {

/// --check: one line per frame that is not clean, saying why, and a summary line of counts at
/// the end. With several logs each line starts with the log's name.
class CheckReport final : public FrameSink {
public:
    explicit CheckReport(bool nameLogs) : m_nameLogs(nameLogs) {}

    std::string Take(OutputFile& out, std::string_view logName, const Frame& frame) override;
    std::string Finish(OutputFile& out) override;

private:
    bool m_nameLogs;
    std::string m_line;  ///< reused from frame to frame
    std::int64_t m_frames = 0;
    std::int64_t m_clean = 0;
    std::int64_t m_doubtful = 0;
    std::int64_t m_unknown = 0;
    std::int64_t m_notCopied = 0;    ///< channels, over all frames
    std::int64_t m_missingRows = 0;  ///< rows, over all frames
};

}  // namespace ao07::tool
