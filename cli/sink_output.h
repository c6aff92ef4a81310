#pragma once

#include <string>
#include <string_view>

#include "cli/decode_output.h"

namespace ao07 {
struct Frame;
}

namespace ao07::tool {

class FrameSink;

/// What ao07-decode writes, from opening to closing, however the logs are read: the sink's
/// frames in the one output. Each call returns "" or the message that stops the run.
class SinkOutput {
public:
    /// `path` is "" for standard output.
    SinkOutput(std::string path, FrameSink& sink);

    bool IsOpen() const { return m_output.IsOpen(); }

    /// Opens the output, refusing one of `logs`, and begins it. Each record goes out at once
    /// when `eachRecordAtOnce`, else with its batch (unless the output is a terminal).
    std::string Open(const LogIdentities& logs, bool eachRecordAtOnce);

    /// Writes `frame` of the log called `logName`; `now`: out at once, not with its batch.
    std::string Take(std::string_view logName, const Frame& frame, bool now);

    /// Ends the output after the last frame and closes it.
    std::string Finish();

private:
    DecodeOutput m_output;
    FrameSink& m_sink;
};

}  // namespace ao07::tool
