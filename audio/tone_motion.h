#pragma once

#include <array>

namespace ao07::audio {

struct MotionParams {
    /// The beacon's frequency swings about its drifting centre at about one cycle a second,
    /// some +-20 Hz. The swing is remembered for about a cycle: longer carries a swing of
    /// exactly that period further through a fade, but misleads the filter on one a third
    /// faster or slower.
    double wobblePeriodSeconds = 1;
    double wobbleHz = 20;
    double wobbleMemorySeconds = 1;
    double toneJitterHz = 0.3;  ///< per second, beside the swing and the drift
    /// Doppler's rate changes over minutes: slowly enough that noise heard where the tone is
    /// not cannot talk the filter into a drift.
    double driftChangeHzPerSecondSquared = 0.5;
    double startingDriftHzPerSecond = 5;  ///< how far the drift may be from none at first
    double widestHz = 45;  ///< lost for long, the tone is still looked for only this near
};

/// The tone as a Kalman filter sees it: a centre moving at a drift rate, plus a swing about
/// it that rings at the wobble's period. Each state holds the centre, the drift, the swing
/// and the swing's rate, with their covariance.
class ToneMotion {
public:
    using Vector = std::array<double, 4>;
    using Matrix = std::array<double, 16>;
    struct State {
        Vector x{};
        Matrix p{};
        double Hz() const { return x[0] + x[2]; }
        double HzPerSecond() const { return x[1] + x[3]; }
        double Variance() const { return p[0] + 2 * p[2] + p[10]; }
    };

    ToneMotion(double hopSeconds, const MotionParams& params = {});

    /// The tone found at `toneHz` to within about `spreadHz`, its motion not yet known.
    State Start(double toneHz, double spreadHz) const;
    /// The state one hop later.
    State Predict(const State& state) const;
    /// `state` after a measurement of the tone at `hz` with variance `variance`.
    State Update(const State& state, double hz, double variance) const;
    /// One step of a Rauch-Tung-Striebel pass: the state at a hop from its filtered state,
    /// the prediction made from it for the next hop, and the next hop's smoothed state.
    Vector Smooth(const State& filtered, const State& predictedNext,
                  const Vector& smoothedNext) const;

private:
    MotionParams m_params;
    Matrix m_step{};   ///< one hop's transition
    Matrix m_noise{};  ///< one hop's process noise
};

}  // namespace ao07::audio
