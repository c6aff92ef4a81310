#pragma once

#include <cstdint>
#include <random>

namespace ao07::audio::synth {

/// Seeded random numbers that are the same on every machine: the engine is std::mt19937_64,
/// whose sequence the C++ standard fixes, and the uniform and normal values are made here
/// rather than by the library's distributions, whose algorithms differ between libraries.
class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed) : m_engine(seed) {}

    /// A uniform value in [0, 1) with 53 random bits.
    double Uniform() { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }

    /// A whole number in [0, count).
    int Below(int count) { return static_cast<int>(Uniform() * count); }

    /// A standard normal value (Box-Muller, both values of a pair used in turn).
    double Normal();

private:
    std::mt19937_64 m_engine;
    double m_spare = 0;
    bool m_hasSpare = false;
};

}  // namespace ao07::audio::synth
