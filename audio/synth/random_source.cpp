#include "audio/synth/random_source.h"

#include <cmath>
#include <numbers>

namespace ao07::audio::synth {

double RandomSource::Normal() {
    if (m_hasSpare) {
        m_hasSpare = false;
        return m_spare;
    }
    // 1 - Uniform() lies in (0, 1], so the logarithm is finite.
    const double radius = std::sqrt(-2.0 * std::log(1.0 - Uniform()));
    const double angle = 2.0 * std::numbers::pi * Uniform();
    m_spare = radius * std::sin(angle);
    m_hasSpare = true;
    return radius * std::cos(angle);
}

}  // namespace ao07::audio::synth
