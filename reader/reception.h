#pragma once

#include <cstdint>

namespace ao07 {

/// How a channel's value came into a frame.
enum class Reception : std::uint8_t {
    Copied,     ///< its row was decoded in this frame and both value digits were copied
    NotCopied,  ///< its row was decoded in this frame, but the group holds a mark (x, X, ?, #)
                ///< or a value character that is not a digit
    Missing,    ///< its row was not decoded in this frame: the value is an earlier frame's
};

}  // namespace ao07
