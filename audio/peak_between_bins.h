#pragma once

#include <algorithm>

namespace ao07::audio {

/// Where a peak of a transform lies between bins, from the powers of its bin and its two
/// neighbours: the vertex of the parabola through them, as a shift in bins within half a bin.
inline double PeakShiftBins(double left, double peak, double right) {
    const double curvature = left - 2 * peak + right;
    return curvature < 0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
}

}  // namespace ao07::audio
