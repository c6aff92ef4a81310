#pragma once

#include <string>
#include <string_view>

namespace ao07 {
struct Frame;
class OutputFile;
}  // namespace ao07

namespace ao07::tool {

/// Where ao07-decode puts the frames it reads: records, a report or statistics, written to an
/// OutputFile. Each call returns "" or the reason the output could not be written.
class FrameSink {
public:
    virtual ~FrameSink() = default;

    /// Before the first frame, once the output is open (a header).
    virtual std::string Begin(OutputFile&) { return {}; }

    /// One frame of the log called `logName`.
    virtual std::string Take(OutputFile& out, std::string_view logName, const Frame& frame) = 0;

    /// After the last frame of the last log.
    virtual std::string Finish(OutputFile&) { return {}; }
};

}  // namespace ao07::tool
