#pragma once

#include <cstdint>

#include "decoder/frame.h"

namespace ao07 {

/// How one channel was received over a run of frames, and the minimum, maximum, sum and last of
/// the values that were copied: values not copied or missing never count toward them.
struct ChannelTally {
    std::int64_t copied = 0;
    std::int64_t notCopied = 0;
    std::int64_t missing = 0;
    float minimum = 0;  ///< these four only mean something once a value was copied
    float maximum = 0;
    float last = 0;
    double sum = 0;

    /// Counts one frame's reading of the channel.
    void Take(Reception reception, float value) {
        switch (reception) {
            case Reception::Copied:
                minimum = copied == 0 || value < minimum ? value : minimum;
                maximum = copied == 0 || value > maximum ? value : maximum;
                last = value;
                sum += value;
                ++copied;
                break;
            case Reception::NotCopied:
                ++notCopied;
                break;
            case Reception::Missing:
                ++missing;
                break;
        }
    }

    /// The mean of the copied values, a new value of the channel and so a float like the
    /// others: its text comes by the same rule as theirs. 0 while none was copied.
    float Mean() const {
        return copied > 0 ? static_cast<float>(sum / static_cast<double>(copied)) : 0.0F;
    }
};

}  // namespace ao07
