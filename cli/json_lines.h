#pragma once

#include <memory>
#include <string>

#include "cli/frame_sink.h"

namespace ao07::tool {

/// --format jsonl: one JSON object per frame, one per line, in UTF-8: the log's name, the
/// frame's number and line, date and time as typed, orbit, calibration verdict, and each
/// channel's id, raw value, value, unit, text and reception.
class JsonLines final : public FrameSink {
public:
    JsonLines();
    ~JsonLines() override;
    std::string Take(OutputFile& out, std::string_view logName, const Frame& frame) override;

private:
    class ChannelObjects;
    std::unique_ptr<ChannelObjects> m_channels;
};

/// The object of one frame, with its line end, appended to `line`.
void AppendFrameJson(std::string& line, std::string_view logName, const Frame& frame);

}  // namespace ao07::tool
