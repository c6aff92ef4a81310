#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ao07::fuzz {

/// Decodes `data` as a whole log, frame by frame, and checks what ao07-decode writes for each
/// frame, whatever the log's bytes:
///   - its JSON Lines object is one line that a JSON parser reads, with 24 channels and the
///     frame's number and line;
///   - its --gaps record has date, time and orbit as the default record has them, every copied
///     channel's field equal to the default record's, and every other channel's field empty.
/// Returns "" or what went wrong.
std::string CheckFrameOutputs(const std::uint8_t* data, std::size_t size);

}  // namespace ao07::fuzz
