#pragma once

#include <string>

#include "tools/frame_sink.h"

namespace ao07::tool {

/// --format jsonl: one JSON object per frame, one per line, in UTF-8: the log's name, the
/// frame's number and line, date and time as typed, orbit, calibration verdict, and each
/// channel's id, raw value, value, unit, text and reception.
class JsonLines final : public FrameSink {
public:
    std::string Take(OutputFile& out, std::string_view logName, const Frame& frame) override;

private:
    std::string m_line;  ///< reused from frame to frame
};

/// The object of one frame, with its line end, into `line`.
void AppendFrameJson(std::string& line, std::string_view logName, const Frame& frame);

}  // namespace ao07::tool
