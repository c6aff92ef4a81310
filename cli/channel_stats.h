#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "analysis/channel_tally.h"
#include "cli/frame_sink.h"
#include "core/channel.h"

namespace ao07::tool {

/// --stats: per channel over all frames read, how often it was copied, not copied and missing,
/// and the minimum, maximum, mean and last of its copied values; a table for a terminal, or
/// one JSON object per channel and line.
class ChannelStats final : public FrameSink {
public:
    explicit ChannelStats(bool json) : m_json(json) {}

    std::string Take(OutputFile& out, std::string_view logName, const Frame& frame) override;
    std::string Finish(OutputFile& out) override;

private:
    std::string Table() const;
    std::string JsonObjects() const;

    bool m_json;
    std::int64_t m_frames = 0;
    std::array<ChannelTally, kChannelCount> m_tallies{};
};

}  // namespace ao07::tool
