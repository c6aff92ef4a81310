#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/log_file.h"
#include "decoder/frame.h"

namespace ao07 {

/// A log decoded frame by frame with no front end, in constant memory: the same steps the
/// window takes, without showing anything and without CSV output.
class FrameStream {
public:
    FrameStream();
    ~FrameStream();
    FrameStream(const FrameStream&) = delete;
    FrameStream& operator=(const FrameStream&) = delete;

    /// Opens the named log. Returns "" or the reason it cannot be read.
    std::string Open(const std::string& path, LogFiles accepted = LogFiles::AnyReadable);

    /// Reads the log from a descriptor that is already open (standard input).
    void Attach(int fd, const std::string& name);

    /// The next frame of the log, or nullptr once the log has been read to its end (of a
    /// followed log: to what has been written so far; a later call reads on). The frame stays
    /// valid until the next call. Throws ConversionError (never for a log's raw values).
    const Frame* Next();

    /// The log being read, for a caller that follows it (LogFiles::Followed).
    LogFile& Log();

    /// Why the log could not be read to its end, or "".
    const std::string& ReadError() const;

    /// Called for each line that was longer than the reader keeps, with its number and a
    /// sentence for the user.
    void OnLineCut(std::function<void(std::int64_t, std::string_view)> report);

private:
    class Collector;
    std::unique_ptr<Collector> m_collector;
};

/// Every frame of the named log. Returns "" or the reason the log could not be read (to its
/// end); the frames read before a failure are kept.
std::string DecodeLogFrames(const std::string& path, std::vector<Frame>& frames);

}  // namespace ao07
